#pragma once

#include <windows.h>

#include "ControlTable.h"
#include "UniqueHandle.h"

// The pictures of the wizard, drawn by code at the size they are shown, so
// that they are sharp at any DPI. Shapes are drawn four times larger and
// averaged down, which smooths their edges against `background`.
UniqueBitmap DrawArtwork(Artwork art, int width, int height, COLORREF background);

// The two images of the file version list, `size` pixels square, on the list's
// mask colour (light grey 0xC0C0C0).
enum class ListImage { Match, Mismatch };
UniqueBitmap DrawListImage(ListImage image, int size);
constexpr COLORREF kListMaskColour = RGB(0xC0, 0xC0, 0xC0);
