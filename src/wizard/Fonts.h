#pragma once

#include <windows.h>

#include "ControlTable.h"
#include "UniqueHandle.h"

// The window's fonts at its DPI: Tahoma 8.25 pt for every control, bold for the
// headers, Arial bold 12 pt for the welcome heading, a smaller one for the
// copyright line, and an underlined twin of the normal font for links.
class Fonts {
 public:
  explicit Fonts(int dpi);
  HFONT Get(FontRole role) const;
  HFONT Underlined() const { return underlined_.get(); }

 private:
  UniqueFont normal_, bold_, heading_, small_, underlined_;
};
