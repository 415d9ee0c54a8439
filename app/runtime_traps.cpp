// What the C++ runtime does when the program has a bug, kept small.
//
// The program reports its failures itself and never catches the standard
// library's exceptions (a text that cannot be sized is checked before it is
// asked for; see ResizeOrDie). The library's own throw helpers and its
// default terminate handler would still link, behind them, the exception
// classes with a second string implementation, the unwinder, and a C++
// name demangler with a printf of its own: a third of the executable, for
// messages written to a console a windowed program does not have.
//
// Defining them here keeps all of that out. They are reached only through a
// bug (an index out of range, a null string) or a size no allocator can
// serve; each ends the process the way an uncaught exception did, with
// abort(). The whole family is defined, as the library defines it in one
// object: one left out and needed later would bring that object back and
// fail the link on the duplicates, rather than grow the program silently.
//
// Linked into the program only, never into the tests (they keep the
// library's exceptions).
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>

namespace std {

void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
