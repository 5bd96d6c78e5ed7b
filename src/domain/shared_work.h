// Work of many independent items shared out among a few threads, as a run
// lists its areas' folders and writes its database files.
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tarnvale {

// Calls `work(i)` once for each i in [0, count), on `threads` threads at
// most, the caller's among them, each thread taking the next item not yet
// taken. Once a call returns false, no thread takes another item, and the
// result is false. A thread that cannot be started leaves its share to the
// others. What a call throws on another thread is thrown here, once all
// threads are done.
template <typename Work>
bool ShareWork(std::size_t count, unsigned threads, Work work) {
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  std::exception_ptr trouble;
  std::mutex trouble_mutex;
  const auto take_items = [&] {
    try {
      for (std::size_t i = next++; i < count && !stopped; i = next++) {
        if (!work(i)) stopped = true;
      }
    } catch (...) {
      stopped = true;
      const std::scoped_lock lock(trouble_mutex);
      if (!trouble) trouble = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> helpers;
    try {
      for (unsigned helper = 1; helper < threads && helper < count; ++helper) {
        helpers.emplace_back(take_items);
      }
    } catch (const std::system_error&) {
      // Fewer threads do the same work.
    }
    take_items();
  }  // joins the helpers
  if (trouble) std::rethrow_exception(trouble);
  return !stopped;
}

}  // namespace tarnvale
