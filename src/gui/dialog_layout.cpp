// Dialog units turned into pixels from the dialog font, and layouts widened, within a limit, until
// every text fits its control.

#include "gui/dialog_layout.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace tarnvale::gui {
namespace {

// Widening stops here even if a text still does not fit, so that a font
// that cannot be measured never makes a window grow without end.
constexpr int kMaxGrowth = 3;

// Larger fonts than this are the job of the desktop's own scaling.
constexpr double kMaxFontScale = 3;

double& FontScaleSetting() {
  static double scale = [] {
    bool number = false;
    const double asked = qEnvironmentVariable("TARNVALE_FONT_SCALE").toDouble(&number);
    return number && asked >= 1 && asked <= kMaxFontScale ? asked : 1.0;
  }();
  return scale;
}

int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

QString TextOf(const QWidget* control) {
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  return control->objectName();
}

// The room that the control's text needs inside a rectangle of `size`.
QSize NeededSize(const QWidget* control, QSize size) {
  const int line_height = control->fontMetrics().height();
  if (const auto* label = qobject_cast<const QLabel*>(control)) {
    if (label->wordWrap()) return {0, label->heightForWidth(size.width())};
    return label->sizeHint();
  }
  if (qobject_cast<const QAbstractButton*>(control) != nullptr) {
    return {control->sizeHint().width(), line_height};
  }
  if (qobject_cast<const QGroupBox*>(control) != nullptr) {
    return {control->minimumSizeHint().width(), line_height};
  }
  if (qobject_cast<const QLineEdit*>(control) != nullptr) {
    return {0, control->minimumSizeHint().height()};
  }
  return {};  // progress bars and scrolling fields have no text to clip
}

}  // namespace

// A wrapped text that needs more lines than its rectangle holds asks for a
// wider layout, which takes fewer lines, unless even one line is too high.
DialogLayout::Overflow DialogLayout::OverflowOf(const QWidget* control) {
  const QSize size = control->size();
  const QSize needed = NeededSize(control, size);
  const auto* label = qobject_cast<const QLabel*>(control);
  if (label != nullptr && label->wordWrap() && needed.height() > size.height()) {
    const bool one_line_fits = label->heightForWidth(QWIDGETSIZE_MAX) <= size.height();
    return {one_line_fits, !one_line_fits};
  }
  return {needed.width() > size.width(), needed.height() > size.height()};
}

int DialogUnits::ToPixelsX(int x) const { return MulDivRounded(x, base_x, 4); }
int DialogUnits::ToPixelsY(int y) const { return MulDivRounded(y, base_y, 8); }

QRect DialogUnits::ToPixels(const QRect& dialog_units) const {
  return {ToPixelsX(dialog_units.x()), ToPixelsY(dialog_units.y()), ToPixelsX(dialog_units.width()),
          ToPixelsY(dialog_units.height())};
}

DialogUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters_width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters_width / 26 + 1) / 2, metrics.height()};
}

QFont DialogFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8 * DialogFontScale());
  font.setStyleHint(QFont::SansSerif);
  return font;
}

double DialogFontScale() { return FontScaleSetting(); }

QFont ScaledFont(QFont font) {
  if (font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * DialogFontScale());
  } else {
    font.setPixelSize(qRound(font.pixelSize() * DialogFontScale()));
  }
  return font;
}

void SetDialogFontScale(double scale) { FontScaleSetting() = scale; }

DialogLayout::DialogLayout(QWidget* client, QSize client_size)
    : client_(client), client_size_(client_size) {}

void DialogLayout::Place(QWidget* control, int x, int y, int width, int height) {
  placements_.push_back({control, QRect(x, y, width, height)});
}

QSize DialogLayout::Apply() {
  const DialogUnits measured = BaseUnitsOf(client_->font());
  units_ = measured;
  for (;;) {
    SetGeometries();
    const Overflow overflow = Measure(nullptr);
    const bool can_grow_x = units_.base_x < measured.base_x * kMaxGrowth;
    const bool can_grow_y = units_.base_y < measured.base_y * kMaxGrowth;
    if (!(overflow.width && can_grow_x) && !(overflow.height && can_grow_y)) break;
    if (overflow.width && can_grow_x) ++units_.base_x;
    if (overflow.height && can_grow_y) ++units_.base_y;
  }
  return Resize(client_size_);
}

void DialogLayout::Move(QWidget* control, int x, int y, int width, int height) {
  for (Placement& placement : placements_) {
    if (placement.control != control) continue;
    placement.dialog_units = QRect(x, y, width, height);
    control->setGeometry(units_.ToPixels(placement.dialog_units));
  }
}

QSize DialogLayout::Resize(QSize client_size) {
  client_size_ = client_size;
  const QSize pixels(units_.ToPixelsX(client_size_.width()),
                     units_.ToPixelsY(client_size_.height()));
  client_->setFixedSize(pixels);
  return pixels;
}

QStringList DialogLayout::ClippedControls() const {
  QStringList clipped;
  Measure(&clipped);
  return clipped;
}

void DialogLayout::SetGeometries() {
  for (const Placement& placement : placements_) {
    placement.control->setGeometry(units_.ToPixels(placement.dialog_units));
  }
}

DialogLayout::Overflow DialogLayout::Measure(QStringList* clipped) const {
  Overflow overflow;
  for (const Placement& placement : placements_) {
    const Overflow control = OverflowOf(placement.control);
    overflow.width = overflow.width || control.width;
    overflow.height = overflow.height || control.height;
    if (clipped != nullptr && (control.width || control.height))
      clipped->append(TextOf(placement.control));
  }
  return overflow;
}

}  // namespace tarnvale::gui
