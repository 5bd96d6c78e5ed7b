// Calls from a worker thread reach the window's thread in the order issued;
// a message (the run's ending too) holds the worker until answered, or
// until it is halted.
#include "gui/queued_run_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>
#include <atomic>
#include <string>
#include <vector>

#include "app/run_worker.h"
#include "gui_test_support.h"
#include "support/recording_run_view.h"

namespace tarnvale::gui {
namespace {

using tarnvale::testing::RecordingRunView;
using testing::ProcessEventsUntil;

class QueuedView : public ::testing::Test {
 protected:
  ~QueuedView() override { worker_.Halt(); }

  QObject window_;
  RecordingRunView target_;
  RunWorker worker_;
  QueuedRunView view_{&window_, target_, worker_};
};

TEST_F(QueuedView, AppliesTheWorkersCallsInOrderOnTheWindowsThread) {
  std::atomic<bool> after_message = false;
  std::vector<std::string> expected;
  for (int position = 0; position < 300; ++position)
    expected.push_back("position:" + std::to_string(position));
  expected.insert(expected.end(),
                  {"status:Scenery", "stepit", "message:done", "create:on", "close"});

  worker_.Start([&](std::stop_token) {
    for (int position = 0; position < 300; ++position) view_.SetProgressPosition(position);
    view_.SetStatusText("Scenery");
    view_.StepProgress();
    view_.ShowMessage("done");
    after_message = true;
    view_.EnableCreateButton(true);
    view_.CloseMainWindow();
  });

  ASSERT_TRUE(ProcessEventsUntil([&] { return target_.Calls().size() == expected.size(); }));
  EXPECT_EQ(target_.Calls(), expected);
  EXPECT_TRUE(after_message);
}

// Steps travel in batches; every one arrives, and none overtakes or falls
// behind a call issued between them, while the window applies them as they
// come.
TEST_F(QueuedView, ProgressStepsArriveInOrderWithTheOtherCalls) {
  std::vector<std::string> expected;
  worker_.Start([&](std::stop_token) {
    for (int round = 0; round < 50; ++round) {
      for (int step = 0; step < 2000; ++step) view_.StepProgress();
      view_.SetProgressPosition(round);
    }
  });
  for (int round = 0; round < 50; ++round) {
    expected.insert(expected.end(), 2000, "stepit");
    expected.push_back("position:" + std::to_string(round));
  }
  ASSERT_TRUE(ProcessEventsUntil([&] { return target_.Calls().size() == expected.size(); }));
  EXPECT_EQ(target_.Calls(), expected);
}

TEST_F(QueuedView, MessagesWaitUntilAnswered) {
  std::atomic<int> returned = 0;
  worker_.Start([&](std::stop_token) {
    view_.ShowMessage("wait for me");
    ++returned;
    view_.ShowRunEnding("and for me", RunSummary{});
    ++returned;
  });
  std::vector<int> returned_when_shown;
  for (const char* call : {"message:wait for me", "message:and for me"})
    target_.OnCall(call, [&] { returned_when_shown.push_back(returned); });

  ASSERT_TRUE(ProcessEventsUntil([&] { return returned == 2; }));
  EXPECT_EQ(returned_when_shown, (std::vector<int>{0, 1}));
}

// The window's thread halts the worker while the message is still on its
// way: the halt ends the wait, and the message is never shown.
TEST_F(QueuedView, HaltEndsTheWaitForAMessageNotYetShown) {
  std::atomic<bool> posted = false;
  worker_.Start([&](std::stop_token) {
    posted = true;
    view_.ShowMessage("too late");
  });
  while (!posted) std::this_thread::yield();

  worker_.Halt();
  QApplication::processEvents();
  EXPECT_TRUE(target_.Calls().empty());
}

TEST_F(QueuedView, DropsWhatIsStillOnItsWayOnceTheWindowCloses) {
  worker_.Start([&](std::stop_token) { view_.SetStatusText("stale"); });
  worker_.Join();
  view_.DropPendingCalls();
  view_.SetStatusText("Closing...");
  EXPECT_EQ(target_.Calls(), std::vector<std::string>{"status:Closing..."});
}

TEST_F(QueuedView, CallOnTheWindowsThreadComesAfterTheWorkersEarlierCalls) {
  worker_.Start([&](std::stop_token) { view_.SetStatusText("Scenery"); });
  worker_.Join();
  view_.SetStatusText("Canceling...");
  EXPECT_EQ(target_.Calls(), (std::vector<std::string>{"status:Scenery", "status:Canceling..."}));
}

}  // namespace
}  // namespace tarnvale::gui
