// Dialog layouts that hold their texts in the font they get.
//
// The resource script places every control in dialog units, which Windows
// turns into pixels from the dialog font's size (and so from the display's
// resolution). TARNVALE_FONT_SCALE makes that font larger still, and the
// layout with it. Where the face that stands in for "MS Sans Serif" is wider
// than the one the layout was drawn for (as under Wine), a text would be cut
// off: the dialog then grows, its controls with it, by the least factor with
// which every text fits.
#pragma once

#include <string>
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

// The factor by which every window's text is larger than its dialog font:
// TARNVALE_FONT_SCALE, from 1 to 3 (read once; any other value is 1), or
// what SetDialogFontScale chose. Windows opened later use it.
double DialogFontScale();
void SetDialogFontScale(double scale);

// The font of `dialog`'s controls: its own, or that font scaled by
// ScaleDialogFont or FitDialogToTexts.
HFONT DialogFont(HWND dialog);

// Gives `dialog` and its controls its font DialogFontScale() times as large
// and keeps that stretch for DialogRect, for a dialog that places its
// controls itself.
void ScaleDialogFont(HWND dialog);

// Scales the font as ScaleDialogFont does, then stretches `dialog` and its
// controls by that factor and GrowthToFit in the scaled font, and keeps the
// whole stretch for DialogRect.
void FitDialogToTexts(HWND dialog);

// x, y, width, height dialog units of `dialog` in pixels, stretched as
// FitDialogToTexts stretched it.
RECT DialogRect(HWND dialog, int x, int y, int width, int height);

// `pixels` of height in `dialog` in dialog units as DialogRect has them,
// rounded up.
int HeightInUnits(HWND dialog, int pixels);

// The size that `text` takes in `control`'s font: wrapped at `width`
// pixels, or (0) as its lines run.
SIZE TextSize(HWND control, const std::wstring& text, int width);

// Places control `id` of `dialog` at x, y, width, height dialog units, as
// DialogRect has them.
void PlaceControl(HWND dialog, int id, int x, int y, int width, int height);

// Gives the client area of `dialog` a height of `height` dialog units, as
// DialogRect has them; its width and top left corner stay.
void SetClientHeight(HWND dialog, int height);

}  // namespace tarnvale::win
