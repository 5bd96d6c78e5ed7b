// The worker thread that carries one creation run, and the means to halt it.
//
// At most one run exists at a time. A halt is cooperative: it requests a
// stop, which the run notices at its check points (and which wakes any wait
// that takes the stop token), then waits for the worker to return. After
// Halt() returns the worker has ended and changes nothing more.
#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

namespace tarnvale {

class RunWorker {
 public:
  RunWorker() = default;
  ~RunWorker();  // halts a run still going
  RunWorker(const RunWorker&) = delete;
  RunWorker& operator=(const RunWorker&) = delete;

  // Starts `body` on a new thread; the previous worker, if any, must have
  // ended (Join or Halt). `body` receives the token that a halt requests.
  void Start(std::function<void(std::stop_token)> body);

  // True from Start until `body` has returned.
  bool Running() const { return running_.load(); }

  // Stopped when a halt is requested; blocking waits of the run's view use it.
  std::stop_token StopToken() const { return stop_.get_token(); }

  // Waits for the worker to end by itself. Does nothing without a worker.
  void Join();

  // Requests a stop and waits for the worker to end. True when a run was
  // still going (it has dropped what it staged; the old set stands whole),
  // false when there was no worker or it had already ended.
  bool Halt();

 private:
  std::thread thread_;
  std::stop_source stop_;
  std::atomic<bool> running_ = false;
};

}  // namespace tarnvale
