#include "render/band_workers.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <latch>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pw::render {
namespace {

class WorkerPool {
 public:
  // Queues `count` runs of `job`, starting threads as needed; the number
  // queued, which is less when threads cannot be started.
  int Queue(int count, std::function<void()> job) {
    std::lock_guard lock(mutex_);
    while (static_cast<int>(threads_.size()) < count) {
      try {
        threads_.emplace_back([this] { Serve(); });
      } catch (const std::system_error&) {
        break;
      }
    }
    const int queued = std::min(count, static_cast<int>(threads_.size()));
    for (int i = 0; i < queued; ++i) jobs_.push_back(job);
    wake_.notify_all();
    return queued;
  }

 private:
  [[noreturn]] void Serve() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !jobs_.empty(); });
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
};

WorkerPool& Pool() {
  // Never destroyed: the threads wait for work until the process ends, and
  // their caches refer to fonts whose own cache may be gone by then.
  static WorkerPool* const pool = std::make_unique<WorkerPool>().release();
  return *pool;
}

}  // namespace

void RunOnBandWorkers(int helpers, const std::function<void()>& task) {
  if (helpers <= 0) {
    task();
    return;
  }
  // The latch outlives every queued copy: the caller waits for all of them.
  auto done = std::make_shared<std::latch>(helpers);
  const int queued = Pool().Queue(helpers, [&task, done] {
    task();
    done->count_down();
  });
  if (queued < helpers) done->count_down(helpers - queued);
  task();
  done->wait();
}

}  // namespace pw::render
