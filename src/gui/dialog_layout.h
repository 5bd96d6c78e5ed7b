// Fixed dialog geometry: the dialog layout in dialog units, turned into
// pixels from the base units of the dialog's font: x pixels = x * baseX / 4,
// y pixels = y * baseY / 8.
//
// Linux fonts are not the 8-point sans serif the layout was drawn for, so
// after measuring the font the layout widens the base units, one pixel at
// a time, until every control's text fits its rectangle.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace tarnvale::gui {

struct DialogUnits {
  int base_x = 6;   // average character width, pixels
  int base_y = 13;  // character height, pixels

  int ToPixelsX(int x) const;
  int ToPixelsY(int y) const;
  QRect ToPixels(const QRect& dialog_units) const;
};

// The base units of `font`: the rounded average width of the 52 Latin
// letters, and the font's line height.
DialogUnits BaseUnitsOf(const QFont& font);

// The font of every Tarnvale window: "MS Sans Serif" 8 points where it is
// installed, otherwise the system's sans serif face at that size, times
// DialogFontScale().
QFont DialogFont();

// How much larger than 8 points the windows' text is: 1 unless the
// environment variable TARNVALE_FONT_SCALE gives a factor from 1 to 3 (read
// once), or SetDialogFontScale chose one. Windows made later use it.
double DialogFontScale();
void SetDialogFontScale(double scale);

// `font` made DialogFontScale() times larger: for the windows that keep
// the system's font (message boxes, the report), so that they grow with
// the dialogs.
QFont ScaledFont(QFont font);

class DialogLayout {
 public:
  // `client` receives the controls; `client_size` is in dialog units.
  DialogLayout(QWidget* client, QSize client_size);

  // Places `control` (a child of the client) at x, y, width, height.
  void Place(QWidget* control, int x, int y, int width, int height);

  // Fits the base units to the controls' texts and sets every geometry;
  // returns the client's size in pixels.
  QSize Apply();

  // After Apply, in the units it found: moves a placed `control` to x, y,
  // width, height, and gives the client a new size (returned in pixels).
  // For a part of a dialog that shows only when it has something to show.
  void Move(QWidget* control, int x, int y, int width, int height);
  QSize Resize(QSize client_size);

  const DialogUnits& Units() const { return units_; }

  // The controls whose text does not fit with the current geometry, named
  // by their text (empty when all fit).
  QStringList ClippedControls() const;

 private:
  struct Placement {
    QWidget* control;
    QRect dialog_units;
  };
  struct Overflow {
    bool width = false;
    bool height = false;
  };

  void SetGeometries();
  Overflow Measure(QStringList* clipped) const;
  static Overflow OverflowOf(const QWidget* control);

  QWidget* client_;
  QSize client_size_;
  DialogUnits units_;
  std::vector<Placement> placements_;
};

}  // namespace tarnvale::gui
