// The C++ runtime's error paths, made small for winscout.exe.
//
// The standard library's containers report impossible requests through the
// std::__throw_* functions. The runtime's own versions build std::logic_error
// and its kin, which drag in a second, reference-counted string type and the
// random-number machinery that comes with it; its default terminate handler
// demangles type names for a console that a windowed program does not have,
// with a printf behind it. Together they would be a third of the program.
// These versions throw an exception that carries the runtime's message as it
// is, which wWinMain shows like any other; the linker then takes nothing of
// the runtime's for them. All of them are defined, so that a use of one that
// is missing here fails the link instead of pulling the runtime's back in.

#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError final : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

// NOLINTBEGIN(cert-dcl58-cpp): replacing the runtime's definitions is the point.
namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }

}  // namespace std

namespace __gnu_cxx {

// Every exception is caught in wWinMain; this only ends a program that is
// beyond help.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
// NOLINTEND(cert-dcl58-cpp)
