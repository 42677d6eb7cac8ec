#include "generator/work_sharing.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace qv {
namespace {

constexpr unsigned kMaxWorkThreads = 4;

// The indices still to do and the first failure, shared by the threads.
class SharedWork {
 public:
  SharedWork(std::size_t count, const std::function<void(std::size_t)>& work)
      : count_(count), work_(work) {}

  // Takes indices until none are left or a call has failed.
  void Take() {
    try {
      for (std::size_t i = next_++; i < count_ && !failed_; i = next_++) work_(i);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      failed_ = true;
    }
  }

  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const std::size_t count_;
  const std::function<void(std::size_t)>& work_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::exception_ptr failure_;
};

}  // namespace

unsigned WorkThreadCount() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkThreads);
}

void ForEachIndex(std::size_t count, unsigned threads,
                  const std::function<void(std::size_t)>& work) {
  SharedWork shared(count, work);
  const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), count) - (count > 0);
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  for (std::size_t t = 0; t < helpers; ++t) {
    try {
      pool.emplace_back([&shared] { shared.Take(); });
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones started share it all
    }
  }
  shared.Take();
  for (std::thread& thread : pool) thread.join();
  shared.RethrowFailure();
}

}  // namespace qv
