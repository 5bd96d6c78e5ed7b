// Dialog layouts that hold their texts in the font they get.
//
// The resource script places every control in dialog units, which Windows
// turns into pixels from the dialog font's size. Where the face that stands
// in for "MS Sans Serif" is wider than the one the layout was drawn for (as
// under Wine), a text would be cut off: the dialog then grows, its controls
// with it, by the least factor with which every text fits.
#pragma once

#include <vector>

#include "platform/windows_system.h"

namespace tarnvale::win {

// How much a dialog's layout is stretched beyond its dialog units.
struct Growth {
  double x = 1;
  double y = 1;
};

// The controls of `dialog` whose text would not fit, were it laid out with
// its dialog units times `units` (the font `dc` holds being that much larger
// than the dialog's own) and stretched by `growth`, both from its size now.
std::vector<HWND> ClippedControls(HWND dialog, HDC dc, Growth units, Growth growth);

// The least stretch (up to three times) with which every text of `dialog`
// fits, in the same terms.
Growth GrowthToFit(HWND dialog, HDC dc, Growth units);

// Stretches `dialog` and its controls by GrowthToFit in its own font, and
// keeps the stretch for DialogRect.
void FitDialogToTexts(HWND dialog);

// x, y, width, height dialog units of `dialog` in pixels, stretched as
// FitDialogToTexts stretched it.
RECT DialogRect(HWND dialog, int x, int y, int width, int height);

}  // namespace tarnvale::win
