#pragma once

#include <windows.h>

#include <optional>

// Placing and sizing controls from their design measures: free functions over
// a control's window and the DPI the window was laid out for.

// Twips (1440 to the inch) to pixels at `dpi`, rounded to the nearest pixel.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The size in pixels of the control's text in its own font, wrapped at
// `wrapWidth` pixels (0: on one line). An empty text measures as one space,
// so that an empty label keeps the height of a line.
SIZE TextExtent(HWND control, int wrapWidth);

// Sizes the control to its text on one line, with room for a bold face.
void FitToText(HWND control, int dpi);

// Gives the control its design width and the height of its text wrapped at
// that width, never more than its design height.
void FitHeightToText(HWND control, int twipsWidth, int twipsHeight, int dpi);

// Moves the control within its parent; a coordinate left out stays as it is.
void MoveControl(HWND control, std::optional<int> twipsLeft, std::optional<int> twipsTop, int dpi);

// The platform's etched line: a shadow row with a highlight row below it.
void PaintEtchedLine(HDC dc, int top, int left, int right);
