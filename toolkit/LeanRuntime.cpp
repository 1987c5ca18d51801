// The C++ library's internal error hooks, defined here so that its own
// exception classes, and the copy-on-write strings behind their messages, stay
// out of the shipped programs. Each raises the programs' own error type.
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "toolkit/Error.h"

// The default terminate handler prints the exception's name, which links a
// demangler and printf; a terminate only has to end the process.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* s) { throw kw::Error(s); }
void __throw_domain_error(const char* s) { throw kw::Error(s); }
void __throw_invalid_argument(const char* s) { throw kw::Error(s); }
void __throw_length_error(const char* s) { throw kw::Error(s); }
void __throw_out_of_range(const char* s) { throw kw::Error(s); }
void __throw_out_of_range_fmt(const char* s, ...) { throw kw::Error(s); }
void __throw_runtime_error(const char* s) { throw kw::Error(s); }
void __throw_range_error(const char* s) { throw kw::Error(s); }
void __throw_overflow_error(const char* s) { throw kw::Error(s); }
void __throw_underflow_error(const char* s) { throw kw::Error(s); }

}  // namespace std
