// The run's report window: what it says when the report cannot be saved.
#include "gui/report_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gui_test_support.h"
#include "support/temp_dir.h"

namespace tarnvale::gui {
namespace {

TEST(ReportDialog, SaveIntoAFolderThatIsGoneSaysSo) {
  tarnvale::testing::TempDir dir;
  testing::ScriptedPresenter presenter;
  ReportDialog report(QStringLiteral("Areas: 1 read\n"), presenter);
  report.show();
  testing::ChooseInFileDialog(dir.Path(), QStringLiteral("gone/report.txt"));

  testing::ClickButton(&report, QStringLiteral("Save As"));

  const std::string file = (dir / "gone" / "report.txt").string();
  const std::vector<std::string> texts = presenter.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("The report could not be saved to " + file + ": ", 0), 0u) << texts[0];
  EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
  EXPECT_TRUE(report.isVisible());
}

}  // namespace
}  // namespace tarnvale::gui
