#include "skin_setup/win/guarded_call.h"

// cdecl: [ebp+8] fn, [ebp+12] a, [ebp+16] b, [ebp+20] stackDelta. The noted
// stack pointer lives in the frame, not in a register, so that a callee that
// also breaks the register conventions cannot corrupt it.
asm(R"(
    .text
    .globl _TolvaneCallGuarded
    .def _TolvaneCallGuarded; .scl 2; .type 32; .endef
_TolvaneCallGuarded:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    subl  $4, %esp
    movl  %esp, -16(%ebp)
    pushl 16(%ebp)
    pushl 12(%ebp)
    call  *8(%ebp)
    movl  %esp, %ecx
    subl  -16(%ebp), %ecx
    movl  -16(%ebp), %esp
    movl  20(%ebp), %edx
    movl  %ecx, (%edx)
    addl  $4, %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");
