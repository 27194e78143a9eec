// A manual-reset event: stays signalled until reset. Waiters spin briefly (a request
// usually completes within a few microseconds) and then block in the kernel.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace Graph::detail {

class ManualResetEvent {
 public:
  void Set() {
    if (state_.exchange(kSignalled, std::memory_order_acq_rel) & kWaiter) state_.notify_all();
  }
  void Reset() { state_.fetch_and(~kSignalled, std::memory_order_acq_rel); }
  bool IsSet() const { return state_.load(std::memory_order_acquire) & kSignalled; }

  void Wait() {
    if (Spin()) return;
    for (;;) {
      std::uint32_t v = state_.load(std::memory_order_acquire);
      if (v & kSignalled) return;
      if (!(v & kWaiter) && !state_.compare_exchange_weak(v, v | kWaiter)) continue;
      state_.wait(v | kWaiter, std::memory_order_acquire);
    }
  }

  // Polls with short sleeps: for the rare waits that must give up in time.
  bool WaitFor(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!IsSet()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

 private:
  static constexpr std::uint32_t kSignalled = 1, kWaiter = 2;
  static constexpr int kSpins = 40;
  static constexpr int kYields = 32;

  // A few microseconds of spinning catch a partner running on the other core; a few
  // yields let it run when both share one core; after that the wait blocks.
  bool Spin() const {
    for (int i = 0; i < kSpins; ++i) {
      if (state_.load(std::memory_order_acquire) & kSignalled) return true;
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    }
    for (int i = 0; i < kYields; ++i) {
      if (state_.load(std::memory_order_acquire) & kSignalled) return true;
      std::this_thread::yield();
    }
    return false;
  }

  std::atomic<std::uint32_t> state_{0};
};

}  // namespace Graph::detail
