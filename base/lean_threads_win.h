// The few thread primitives the C++ runtime asks of the product programs
// (run once, a lazily created mutex, thread-local keys), on Win32 alone.
// lean_pthread_win.cpp hands them to the runtime under their POSIX names.
#pragma once

#include <cstdint>

namespace base::lean_threads {

// A once flag starts at 0; RunOnce runs `init` the first time and makes
// every other caller wait until it has returned.
void RunOnce(volatile long* flag, void (*init)());

// A mutex word holds either a static initializer (a small negative value)
// or the address of its critical section, created on first use. Returns 0,
// or ENOMEM when the section cannot be allocated.
int InitMutex(volatile std::intptr_t* mutex);
int LockMutex(volatile std::intptr_t* mutex);
int UnlockMutex(volatile std::intptr_t* mutex);
int DestroyMutex(volatile std::intptr_t* mutex);

// A condition that is never signalled: WaitCondition releases the mutex,
// yields for a moment and takes it again, a wake-up its callers must take
// as possibly spurious (they re-check their state in a loop, as waiting on
// a condition requires anyway). Enough for the runtime's one use, a thread
// waiting for another to finish a static's initialization.
int WaitCondition(volatile std::intptr_t* mutex);

// Thread-local keys are Win32 TLS slots. Returns 0, or EAGAIN when no slot
// is left.
int CreateKey(unsigned* key);
void* GetKeyValue(unsigned key);
int SetKeyValue(unsigned key, const void* value);

}  // namespace base::lean_threads
