// The POSIX thread functions the C++ runtime calls (libgcc's unwinder and
// emulated thread-locals, libstdc++'s mutexes), defined in the product
// programs themselves so that the linker never brings winpthreads, whose
// thread machinery is thirty times their size. The programs are
// single-threaded toolkit programs; these are still correct for several
// threads (lean_threads_win.cpp).
//
// Only the functions the runtime reaches are here. Should it ever reach
// another one, winpthreads joins the link for it and the link fails with a
// duplicate definition of these, which says to add that one here.
//
// Left out on purpose: a key's destructor. The runtime registers one for
// its emulated thread-locals, to free a thread's block when the thread
// ends; the programs' own code runs on the main thread, so at most a
// system thread that ran into it leaves its block behind.
#include <cstdint>

#include "base/lean_threads_win.h"

namespace lt = base::lean_threads;

extern "C" {

int pthread_once(long* flag, void (*init)()) {
  lt::RunOnce(flag, init);
  return 0;
}

int pthread_mutex_init(std::intptr_t* mutex, const unsigned* /*attributes*/) {
  return lt::InitMutex(mutex);
}
int pthread_mutex_lock(std::intptr_t* mutex) { return lt::LockMutex(mutex); }
int pthread_mutex_unlock(std::intptr_t* mutex) { return lt::UnlockMutex(mutex); }
int pthread_mutex_destroy(std::intptr_t* mutex) { return lt::DestroyMutex(mutex); }

// Conditions carry no state: broadcasting wakes no one, since every waiter
// wakes by itself (lean_threads_win.h).
int pthread_cond_wait(void** /*condition*/, std::intptr_t* mutex) {
  return lt::WaitCondition(mutex);
}
int pthread_cond_broadcast(void** /*condition*/) { return 0; }

int pthread_key_create(unsigned* key, void (*/*destructor*/)(void*)) {
  return lt::CreateKey(key);
}
void* pthread_getspecific(unsigned key) { return lt::GetKeyValue(key); }
int pthread_setspecific(unsigned key, const void* value) { return lt::SetKeyValue(key, value); }

}  // extern "C"
