// Labels and fields that shorten a long text in the middle to fit their width, with the whole text
// as the tooltip.

#include "gui/elided_text.h"

#include <QLineEdit>
#include <QStyle>

namespace tarnvale::gui {
namespace {

// QLineEdit keeps this many pixels free on each side of its text.
constexpr int kLineEditTextMargin = 2;

// `head` and as much of `rest` as `width` pixels of `widget`'s font hold,
// shortened in the middle; the widget's tooltip holds the whole text when
// it had to be shortened.
QString Elided(QWidget* widget, const QString& head, const QString& rest, int width) {
  const int rest_width = width - widget->fontMetrics().horizontalAdvance(head);
  const QString shown = widget->fontMetrics().elidedText(rest, Qt::ElideMiddle, rest_width);
  widget->setToolTip(shown == rest ? QString() : head + rest);
  return head + shown;
}

}  // namespace

void ElidedLabel::SetFullText(const QString& head, const QString& rest) {
  head_ = head;
  rest_ = rest;
  Elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidedLabel::Elide() { setText(Elided(this, head_, rest_, contentsRect().width())); }

void SetElidedText(QLineEdit* field, const QString& text) {
  const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
  const QMargins margins = field->textMargins();
  const int width =
      field->width() - 2 * frame - 2 * kLineEditTextMargin - margins.left() - margins.right();
  field->setText(Elided(field, {}, text, width));
}

}  // namespace tarnvale::gui
