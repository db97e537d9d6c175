// The thread functions that the C++ runtime itself calls, made small for
// winscout.exe.
//
// The runtime keeps its per-thread exception state in emulated thread-local
// storage, which asks the POSIX thread library for a once-flag and a key.
// That library comes in one piece: taking pthread_once from it brings its
// threads, condition variables and read-write locks along, an eighth of the
// program. These four are all that the emulated storage asks for, made
// directly on Windows; the library's mutexes, which the runtime also uses,
// come from it as before. Should anything need more of the library's
// threads, the link fails on these names instead of taking it in twice.

#include <windows.h>

#include <cerrno>

extern "C" {

// pthread_once_t is a long, too small for an INIT_ONCE: 0 not run, 1 running,
// 2 done.
int pthread_once(long* once, void (*init)()) {
  constexpr long kNotRun = 0;
  constexpr long kRunning = 1;
  constexpr long kDone = 2;
  if (InterlockedCompareExchange(once, kRunning, kNotRun) == kNotRun) {
    init();
    InterlockedExchange(once, kDone);
  } else {
    while (InterlockedCompareExchange(once, kDone, kDone) != kDone) SwitchToThread();
  }
  return 0;
}

// A fiber-local slot calls its destructor for a value left at a thread's end,
// as a key does.
int pthread_key_create(unsigned* key, void (*destructor)(void*)) {
  const DWORD slot = FlsAlloc(destructor);
  if (slot == FLS_OUT_OF_INDEXES) return EAGAIN;
  *key = slot;
  return 0;
}

void* pthread_getspecific(unsigned key) { return FlsGetValue(key); }

int pthread_setspecific(unsigned key, const void* value) {
  return FlsSetValue(key, const_cast<void*>(value)) ? 0 : EINVAL;
}

}  // extern "C"
