#include "Fonts.h"

namespace {

// Point sizes in hundredths, as the design gives them (8.25 pt).
UniqueFont Make(const wchar_t* face, int hundredthsOfPoint, int dpi, int weight, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
  lf.lfWeight = weight;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace

Fonts::Fonts(int dpi)
    : normal_(Make(L"Tahoma", 825, dpi, FW_NORMAL, false)),
      bold_(Make(L"Tahoma", 825, dpi, FW_BOLD, false)),
      heading_(Make(L"Arial", 1200, dpi, FW_BOLD, false)),
      small_(Make(L"Tahoma", 675, dpi, FW_NORMAL, false)),
      underlined_(Make(L"Tahoma", 825, dpi, FW_NORMAL, true)) {}

HFONT Fonts::Get(FontRole role) const {
  switch (role) {
    case FontRole::Bold:
      return bold_.get();
    case FontRole::Heading:
      return heading_.get();
    case FontRole::Small:
      return small_.get();
    case FontRole::Normal:
      return normal_.get();
    case FontRole::None:
      break;
  }
  return nullptr;
}
