#include "viewer/queued_poster.h"

namespace orvane {

void QueuedPoster::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  arrived_.notify_all();
}

size_t QueuedPoster::RunPending() {
  std::deque<std::function<void()>> now;
  {
    std::lock_guard lock(mutex_);
    now.swap(tasks_);
  }
  for (auto& task : now) task();
  return now.size();
}

bool QueuedPoster::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      if (!arrived_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) return done();
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
  return true;
}

size_t QueuedPoster::QueuedCount() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

bool QueuedPoster::WaitQueued(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [this, count] { return tasks_.size() >= count; });
}

}  // namespace orvane
