// The C++ runtime's error paths, made small for winscout.exe.
//
// The standard library's containers report impossible requests through the
// std::__throw_* functions, and operator new reports memory that runs out.
// The runtime's own versions throw, which brings in the unwinder and its
// tables, std::logic_error and its kin with a second, reference-counted string
// type, and a terminate handler that demangles type names for a console that a
// windowed program does not have: together a third of the program. The
// program has no exceptions (fatal_error.h); these versions end it the same
// way, with the runtime's message as it is. All of them are defined, so that a
// use of one that is missing here fails the link instead of pulling the
// runtime's back in.

#include <cstdlib>
#include <new>

#include "platform/win32/fatal_error.h"

using winscout::win32::ExitWithError;

// NOLINTBEGIN(cert-dcl58-cpp): replacing the runtime's definitions is the point.
namespace std {

void __throw_bad_alloc() { ExitWithError("std::bad_alloc"); }
void __throw_bad_array_new_length() { ExitWithError("std::bad_array_new_length"); }
void __throw_bad_cast() { ExitWithError("std::bad_cast"); }
void __throw_bad_typeid() { ExitWithError("std::bad_typeid"); }
void __throw_bad_exception() { ExitWithError("std::bad_exception"); }
void __throw_bad_function_call() { ExitWithError("bad_function_call"); }
void __throw_logic_error(const char* what) { ExitWithError(what); }
void __throw_domain_error(const char* what) { ExitWithError(what); }
void __throw_invalid_argument(const char* what) { ExitWithError(what); }
void __throw_length_error(const char* what) { ExitWithError(what); }
void __throw_out_of_range(const char* what) { ExitWithError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { ExitWithError(format); }
void __throw_runtime_error(const char* what) { ExitWithError(what); }
void __throw_range_error(const char* what) { ExitWithError(what); }
void __throw_overflow_error(const char* what) { ExitWithError(what); }
void __throw_underflow_error(const char* what) { ExitWithError(what); }

}  // namespace std

// The runtime's operator new throws std::bad_alloc; this one ends the program
// as above. Its operator delete frees with free() as this needs.
void* operator new(std::size_t size) {
  if (size == 0) size = 1;
  void* memory = std::malloc(size);
  if (!memory) std::__throw_bad_alloc();
  return memory;
}

// A call through a vtable entry that has no function: the runtime's versions
// end the program through its terminate handler, which brings the demangler.
extern "C" void __cxa_pure_virtual() { ExitWithError("pure virtual call"); }
extern "C" void __cxa_deleted_virtual() { ExitWithError("deleted virtual call"); }

// NOLINTEND(cert-dcl58-cpp)
