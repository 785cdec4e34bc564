// The thread primitives the product programs give the C++ runtime in place
// of winpthreads (base/lean_threads_win.cpp), under real contention.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "base/lean_threads_win.h"

namespace lt = base::lean_threads;

namespace {

struct Start {
  const std::function<void(int)>* body;
  int index;
};

DWORD WINAPI RunStart(void* p) {
  auto* s = static_cast<Start*>(p);
  (*s->body)(s->index);
  return 0;
}

// Runs `body` on `count` threads at once and waits for all of them.
void OnThreads(int count, const std::function<void(int)>& body) {
  std::vector<Start> starts(count);
  std::vector<HANDLE> threads;
  for (int i = 0; i < count; ++i) {
    starts[i] = {&body, i};
    threads.push_back(CreateThread(nullptr, 0, RunStart, &starts[i], 0, nullptr));
    ASSERT_NE(threads.back(), nullptr);
  }
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE t : threads) CloseHandle(t);
}

volatile long g_once = 0;
volatile long g_once_runs = 0;
volatile long g_once_finished = 0;

void SlowInit() {
  InterlockedIncrement(&g_once_runs);
  Sleep(50);
  g_once_finished = 1;
}

TEST(LeanThreads, OnceRunsOnceAndEveryCallerWaitsForIt) {
  volatile long seen_unfinished = 0;
  OnThreads(6, [&](int) {
    lt::RunOnce(&g_once, SlowInit);
    if (!g_once_finished) InterlockedIncrement(&seen_unfinished);
  });
  EXPECT_EQ(g_once_runs, 1);
  EXPECT_EQ(seen_unfinished, 0);
  lt::RunOnce(&g_once, SlowInit);
  EXPECT_EQ(g_once_runs, 1);
}

TEST(LeanThreads, AMutexKeepsOthersOutWhetherStaticOrInitialized) {
  for (bool initialized : {false, true}) {
    volatile std::intptr_t mutex = -1;  // the static initializer
    if (initialized) {
      ASSERT_EQ(lt::InitMutex(&mutex), 0);
    }
    long counter = 0;  // deliberately not atomic: the mutex guards it
    OnThreads(4, [&](int) {
      for (int i = 0; i < 20000; ++i) {
        lt::LockMutex(&mutex);
        long v = counter;
        if (i % 1000 == 0) SwitchToThread();
        counter = v + 1;
        lt::UnlockMutex(&mutex);
      }
    });
    EXPECT_EQ(counter, 4 * 20000) << (initialized ? "initialized" : "static");
    EXPECT_EQ(lt::DestroyMutex(&mutex), 0);
    EXPECT_EQ(mutex, -1);
  }
}

TEST(LeanThreads, ARecursiveStaticMutexCanBeTakenTwiceAndADestroyedOneAgain) {
  volatile std::intptr_t mutex = -2;  // the recursive static initializer
  EXPECT_EQ(lt::UnlockMutex(&mutex), EPERM);  // never taken
  ASSERT_EQ(lt::LockMutex(&mutex), 0);
  ASSERT_EQ(lt::LockMutex(&mutex), 0);
  EXPECT_EQ(lt::UnlockMutex(&mutex), 0);
  EXPECT_EQ(lt::UnlockMutex(&mutex), 0);
  EXPECT_EQ(lt::DestroyMutex(&mutex), 0);
  ASSERT_EQ(lt::LockMutex(&mutex), 0);
  EXPECT_EQ(lt::UnlockMutex(&mutex), 0);
  EXPECT_EQ(lt::DestroyMutex(&mutex), 0);
}

TEST(LeanThreads, WaitingOnAConditionLetsAnotherThreadTakeTheMutex) {
  // Thread 0 holds the mutex before thread 1 asks for it, and waits until
  // thread 1 has had it: without the wait releasing it, neither would end.
  volatile std::intptr_t mutex = -1;
  volatile long ready = 0;
  HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  OnThreads(2, [&](int index) {
    if (index == 1) WaitForSingleObject(holding, INFINITE);
    lt::LockMutex(&mutex);
    if (index == 0) {
      SetEvent(holding);
      while (!ready) EXPECT_EQ(lt::WaitCondition(&mutex), 0);
    } else {
      ready = 1;
    }
    lt::UnlockMutex(&mutex);
  });
  EXPECT_EQ(ready, 1);
  CloseHandle(holding);
  lt::DestroyMutex(&mutex);
}

TEST(LeanThreads, KeysHoldAValuePerThreadAndKeepTheLastError) {
  unsigned key = 0;
  ASSERT_EQ(lt::CreateKey(&key), 0);
  int here = 0;
  ASSERT_EQ(lt::SetKeyValue(key, &here), 0);
  std::vector<void*> seen(3, &here);
  OnThreads(3, [&](int index) {
    seen[index] = lt::GetKeyValue(key);  // a new thread's value is null
    lt::SetKeyValue(key, &seen[index]);
    if (lt::GetKeyValue(key) != &seen[index]) seen[index] = &here;
  });
  for (void* v : seen) EXPECT_EQ(v, nullptr);
  EXPECT_EQ(lt::GetKeyValue(key), &here);
  SetLastError(ERROR_FILE_NOT_FOUND);
  (void)lt::GetKeyValue(key);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  TlsFree(key);
}

}  // namespace
