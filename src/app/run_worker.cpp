// The creation run's thread: started once the previous one is reaped, joined, or halted through its
// stop token.

#include "app/run_worker.h"

#include <utility>

namespace tarnvale {

RunWorker::~RunWorker() { Halt(); }

void RunWorker::Start(std::function<void(std::stop_token)> body) {
  // The previous run has already taken its ending; reap its thread.
  Join();
  stop_ = std::stop_source();
  running_ = true;
  thread_ = std::thread([this, body = std::move(body), token = stop_.get_token()] {
    body(token);
    running_ = false;
  });
}

void RunWorker::Join() {
  if (thread_.joinable()) thread_.join();
}

bool RunWorker::Halt() {
  if (!thread_.joinable()) return false;
  const bool was_running = running_.load();
  stop_.request_stop();
  thread_.join();
  return was_running;
}

}  // namespace tarnvale
