// The run's report window: what it says when the report cannot be saved,
// and the font scale it shares with the message boxes.
#include "gui/report_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "gui/dialog_layout.h"
#include "gui/message_box_presenter.h"
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

// TARNVALE_FONT_SCALE reaches the windows that keep the system's font: a
// message box and the report are drawn that much larger.
TEST(FontScale, ReachesMessageBoxesAndTheReport) {
  const double base_box = QApplication::font("QMessageBox").pointSizeF();
  const double base_text = QFontDatabase::systemFont(QFontDatabase::FixedFont).pointSizeF();
  SetDialogFontScale(2);
  MessageBoxPresenter presenter;
  double box_size = 0;
  double label_height = 0;
  testing::WhenShown<QMessageBox>([&](QMessageBox* box) {
    box_size = box->font().pointSizeF();
    label_height =
        box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->fontMetrics().height();
    box->button(QMessageBox::Ok)->click();
  });
  presenter.Show(nullptr, QStringLiteral("Tarnvale"), QStringLiteral("Measured"));
  ReportDialog report(QStringLiteral("Areas: 1 read\n"), presenter);
  const double report_text = report.findChild<QPlainTextEdit*>()->font().pointSizeF();
  const double report_size = report.font().pointSizeF();
  SetDialogFontScale(1);

  EXPECT_DOUBLE_EQ(box_size, 2 * base_box);
  EXPECT_GT(label_height, 1.8 * QFontMetrics(QApplication::font("QMessageBox")).height());
  EXPECT_DOUBLE_EQ(report_text, 2 * base_text);
  EXPECT_DOUBLE_EQ(report_size, 2 * QApplication::font("QDialog").pointSizeF());
}

}  // namespace
}  // namespace tarnvale::gui
