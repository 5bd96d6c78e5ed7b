// Dialog units to pixels, and texts that must fit their controls.
#include "gui/dialog_layout.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QWidget>
#include <cmath>
#include <memory>
#include <string>

#include "app/program_state.h"
#include "gui/about_program.h"
#include "gui/askfor_quelby_program.h"
#include "gui/fspath_dialog.h"
#include "gui/tarnvale_dlg.h"
#include "gui_test_support.h"
#include "support/row_names.h"

namespace tarnvale::gui {
namespace {

struct ConversionRow {
  QRect dialog_units;
  QRect pixels;
};

class DialogUnitConversion : public ::testing::TestWithParam<ConversionRow> {};

// With the classic 6 × 13 base units; halves round away from zero.
TEST_P(DialogUnitConversion, ScalesByTheBaseUnits) {
  const DialogUnits units{6, 13};
  EXPECT_EQ(units.ToPixels(GetParam().dialog_units), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DialogUnitConversion,
    ::testing::Values(ConversionRow{QRect(7, 63, 271, 53), QRect(11, 102, 407, 86)},
                      ConversionRow{QRect(0, 0, 4, 8), QRect(0, 0, 6, 13)},
                      ConversionRow{QRect(1, 1, 2, 4), QRect(2, 2, 3, 7)},
                      ConversionRow{QRect(-7, -5, 0, 0), QRect(-11, -8, 0, 0)}),
    [](const auto& info) {
      const QRect& units = info.param.dialog_units;
      const std::string corner = std::to_string(units.x()) + " " + std::to_string(units.y());
      return tarnvale::testing::RowName(info.index, corner);
    });

TEST(DialogLayout, WidensTheUnitsUntilAWrappedTextFits) {
  QWidget client;
  client.setFont(DialogFont());
  auto* label = new QLabel(
      QStringLiteral("A sentence far longer than the room its template gives it"), &client);
  label->setWordWrap(true);
  auto* button = new QPushButton(QStringLiteral("A wide button text"), &client);
  DialogLayout layout(&client, {60, 40});
  layout.Place(label, 0, 0, 60, 16);
  layout.Place(button, 0, 20, 40, 14);

  const QSize size = layout.Apply();

  EXPECT_TRUE(layout.ClippedControls().isEmpty())
      << layout.ClippedControls().join(u'|').toStdString();
  EXPECT_GT(layout.Units().base_x, BaseUnitsOf(client.font()).base_x);
  EXPECT_EQ(size, QSize(layout.Units().ToPixelsX(60), layout.Units().ToPixelsY(40)));
  EXPECT_EQ(label->geometry(), layout.Units().ToPixels(QRect(0, 0, 60, 16)));
}

// Widening never makes one line lower: such a text grows the layout's height.
TEST(DialogLayout, GrowsTheHeightForALineTallerThanItsRectangle) {
  QWidget client;
  client.setFont(DialogFont());
  auto* label = new QLabel(QStringLiteral("Short"), &client);
  label->setWordWrap(true);
  DialogLayout layout(&client, {60, 20});
  layout.Place(label, 0, 0, 60, 4);

  layout.Apply();

  EXPECT_TRUE(layout.ClippedControls().isEmpty());
  EXPECT_EQ(layout.Units().base_x, BaseUnitsOf(client.font()).base_x);
  EXPECT_GT(layout.Units().base_y, BaseUnitsOf(client.font()).base_y);
}

TEST(DialogLayout, KeepsTheMeasuredUnitsWhenEverythingFits) {
  QWidget client;
  client.setFont(DialogFont());
  auto* button = new QPushButton(QStringLiteral("Ok"), &client);
  DialogLayout layout(&client, {100, 30});
  layout.Place(button, 10, 5, 80, 20);
  layout.Apply();
  EXPECT_EQ(layout.Units().base_x, BaseUnitsOf(client.font()).base_x);
  EXPECT_EQ(layout.Units().base_y, BaseUnitsOf(client.font()).base_y);
}

// The scrolling fields of the about box end where a line ends.
void ExpectWholeLines(const QWidget& window) {
  for (const QPlainTextEdit* field : window.findChildren<QPlainTextEdit*>()) {
    const double line = QFontMetricsF(field->font()).height();
    const double room =
        field->height() - 2 * field->frameWidth() - field->document()->documentMargin();
    const double lines = room / line;
    EXPECT_LT(lines - std::floor(lines), 1.0 / line) << field->objectName().toStdString();
  }
}

// At the usual font size and at one and a half times it.
class Windows : public ::testing::TestWithParam<double> {
 protected:
  ~Windows() override { SetDialogFontScale(1); }
};

TEST_P(Windows, ShowEveryTextWhole) {
  SetDialogFontScale(GetParam());
  ProgramState state;
  state.TargetFolder = "/home/pilot/" + std::string(300, 'x');
  testing::ScriptedPresenter presenter;
  std::vector<std::unique_ptr<FixedDialog>> windows;
  windows.push_back(std::make_unique<TarnvaleDlg>(state, presenter));
  windows.push_back(std::make_unique<AskforQuelbyProgram>(presenter));
  windows.push_back(std::make_unique<FSPath_Dialog>(presenter));
  windows.push_back(std::make_unique<About_Program>());
  for (const auto& window : windows) {
    window->show();
    EXPECT_TRUE(window->ClippedControls().isEmpty())
        << window->windowTitle().toStdString() << ": "
        << window->ClippedControls().join(u'|').toStdString();
    ExpectWholeLines(*window);
  }
}

INSTANTIATE_TEST_SUITE_P(FontSizes, Windows, ::testing::Values(1.0, 1.5), [](const auto& info) {
  return info.param == 1.0 ? "Usual" : "OneAndAHalf";
});

}  // namespace
}  // namespace tarnvale::gui
