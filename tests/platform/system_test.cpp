// Tests of interrupts on POSIX systems: the first raises the flags, a second ends the process.

#include "platform/system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace tarnvale::platform {
namespace {

// Signals are POSIX; Windows interrupts come as console events, tested in
// windows_platform_test.cpp.
#ifndef _WIN32

// The first interrupt only raises the flags; the disposition that was in
// place before comes back when the InterruptHandler ends.
TEST(InterruptHandler, TurnsAnInterruptIntoFlags) {
  const auto previous = std::signal(SIGINT, SIG_IGN);
  {
    std::atomic<bool> cancel{false};
    InterruptHandler handler;
    handler.Forward(&cancel);
    EXPECT_FALSE(handler.Interrupted());
    std::raise(SIGINT);
    EXPECT_TRUE(handler.Interrupted());
    EXPECT_TRUE(cancel);
  }
  EXPECT_EQ(std::signal(SIGINT, SIG_IGN), SIG_IGN);
  {
    InterruptHandler fresh;
    EXPECT_FALSE(fresh.Interrupted());
  }
  std::signal(SIGINT, previous);
}

// A user who presses Ctrl-C twice ends the program.
TEST(InterruptHandlerDeathTest, ASecondInterruptEndsTheProcess) {
  EXPECT_EXIT(
      {
        InterruptHandler handler;
        std::raise(SIGINT);
        std::raise(SIGINT);
        std::_Exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
}

#endif

}  // namespace
}  // namespace tarnvale::platform
