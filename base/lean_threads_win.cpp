#include "base/lean_threads_win.h"

#include <windows.h>

#include <cerrno>

namespace base::lean_threads {
namespace {

constexpr long kOnceRunning = 1;
constexpr long kOnceDone = 2;

// Every static initializer of a mutex word (normal, recursive, error
// checking) is a small negative value; a created one is an address.
bool IsCreated(std::intptr_t value) { return value > 0; }

CRITICAL_SECTION* SectionOf(volatile std::intptr_t* mutex) {
  std::intptr_t value = *mutex;
  if (IsCreated(value)) return reinterpret_cast<CRITICAL_SECTION*>(value);
  auto* section = static_cast<CRITICAL_SECTION*>(
      HeapAlloc(GetProcessHeap(), 0, sizeof(CRITICAL_SECTION)));
  if (!section) return nullptr;
  InitializeCriticalSection(section);
  // Two threads may meet here on a static mutex: the first one's section
  // stays, the other's goes.
  const auto stored = InterlockedCompareExchangePointer(
      reinterpret_cast<void* volatile*>(mutex), section, reinterpret_cast<void*>(value));
  if (stored != reinterpret_cast<void*>(value)) {
    DeleteCriticalSection(section);
    HeapFree(GetProcessHeap(), 0, section);
    return static_cast<CRITICAL_SECTION*>(stored);
  }
  return section;
}

}  // namespace

void RunOnce(volatile long* flag, void (*init)()) {
  if (*flag == kOnceDone) return;
  if (InterlockedCompareExchange(flag, kOnceRunning, 0) == 0) {
    init();
    InterlockedExchange(flag, kOnceDone);
    return;
  }
  while (*flag != kOnceDone) SwitchToThread();
}

int InitMutex(volatile std::intptr_t* mutex) {
  *mutex = -1;
  return SectionOf(mutex) ? 0 : ENOMEM;
}

int LockMutex(volatile std::intptr_t* mutex) {
  CRITICAL_SECTION* section = SectionOf(mutex);
  if (!section) return ENOMEM;
  EnterCriticalSection(section);
  return 0;
}

int UnlockMutex(volatile std::intptr_t* mutex) {
  if (!IsCreated(*mutex)) return EPERM;
  LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(*mutex));
  return 0;
}

int DestroyMutex(volatile std::intptr_t* mutex) {
  const std::intptr_t value = *mutex;
  *mutex = -1;
  if (IsCreated(value)) {
    auto* section = reinterpret_cast<CRITICAL_SECTION*>(value);
    DeleteCriticalSection(section);
    HeapFree(GetProcessHeap(), 0, section);
  }
  return 0;
}

int WaitCondition(volatile std::intptr_t* mutex) {
  if (const int failed = UnlockMutex(mutex)) return failed;
  Sleep(1);
  return LockMutex(mutex);
}

int CreateKey(unsigned* key) {
  const DWORD slot = TlsAlloc();
  if (slot == TLS_OUT_OF_INDEXES) return EAGAIN;
  *key = slot;
  return 0;
}

void* GetKeyValue(unsigned key) {
  // TlsGetValue sets the last error; callers of a key do not expect that.
  const DWORD saved = GetLastError();
  void* value = TlsGetValue(key);
  SetLastError(saved);
  return value;
}

int SetKeyValue(unsigned key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : ENOMEM;
}

}  // namespace base::lean_threads
