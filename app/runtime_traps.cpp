// The parts of the C++ runtime the program links, kept to what it uses.
//
// The program reports its failures itself and catches no exception: it is
// compiled without them, and a text that cannot be sized is checked before
// it is asked for (ResizeOrDie). Left to the library, its throw helpers and
// its default terminate handler would still link the exception classes with
// a second string implementation, the unwinder, and a C++ name demangler
// with a printf of its own: a third of the executable, for messages written
// to a console a windowed program does not have.
//
// Linked into the program only, never into the tests: they keep the
// library's exceptions.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <string>

// Reached only through a bug (an index out of range, a null string) or a
// size no allocator can serve; each ends the process the way an uncaught
// exception did, with abort(). The whole family is defined, as the library
// defines it in one object: one left out and needed later would bring that
// object back and fail the link on the duplicates, instead of growing the
// program silently.
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

// The library's prebuilt std::string is compiled with exceptions: linking it
// would bring the unwinder and the exception runtime back for its cleanup
// paths. The program's own copy is instantiated here, with the program's
// flags; the members it does not call are dropped by the linker.
template class std::basic_string<char>;
