// The about box in Qt: the program's heading and its scrolling text fields, each cut to the lines
// it shows whole.

#include "gui/about_program.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "app/about_text.h"
#include "gui/message_presenter.h"

namespace tarnvale::gui {

About_Program::About_Program(QWidget* parent)
    : FixedDialog(QStringLiteral("About Tarnvale v1.0"), {296, 186}, parent) {
  QLabel* heading =
      AddText(QStringLiteral("TARNVALE VERSION 1.0 (For FS2002/2004)"), 7, 7, 282, 10);
  heading->setAlignment(Qt::AlignCenter);
  AddGroupBox(QStringLiteral("Description"), 7, 21, 282, 66);
  description_ = AddScrollingField("DescriptionField", 14, 33, 268, 47);
  AddGroupBox(QStringLiteral("Credits"), 7, 92, 282, 68);
  AddText(ToQString(text::kAboutContact), 14, 104, 268, 17)->setWordWrap(false);
  credits_ = AddScrollingField("CreditsField", 14, 124, 268, 30);
  QPushButton* ok = AddButton(QStringLiteral("Ok"), 223, 165, 66, 15);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  FinishLayout();
  ShowWholeLines(description_);
  ShowWholeLines(credits_);
}

// Shortens `field` to the lines it shows whole, so that none is cut across:
// the text starts below the top margin, and the view ends where a line does.
void About_Program::ShowWholeLines(QPlainTextEdit* field) {
  const double line = QFontMetricsF(field->font()).height();
  const int top = field->frameWidth() + static_cast<int>(field->document()->documentMargin());
  const int room = field->height() - top - field->frameWidth();
  const int lines = std::max(1, static_cast<int>(room / line));
  field->resize(field->width(),
                top + static_cast<int>(std::ceil(lines * line)) + field->frameWidth());
}

QPlainTextEdit* About_Program::AddScrollingField(const char* name, int x, int y, int width,
                                                 int height) {
  auto* field = new QPlainTextEdit(Client());
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Layout().Place(field, x, y, width, height);
  return field;
}

void About_Program::showEvent(QShowEvent* event) {
  description_->setPlainText(ToQString(text::kAboutDescription));
  credits_->setPlainText(ToQString(text::AboutCredits("Qt 6")));
  FixedDialog::showEvent(event);
}

}  // namespace tarnvale::gui
