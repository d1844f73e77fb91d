#include "SystemMessage.h"

#include "SystemErrorText.h"

std::wstring SystemMessage(std::int32_t code) {
  // Texts with insert markers keep them: there is nothing to fill them with.
  if (std::optional<std::wstring> text = PlatformErrorText(static_cast<DWORD>(code))) {
    while (!text->empty() &&
           (text->back() == L'\r' || text->back() == L'\n' || text->back() == L' '))
      text->pop_back();
    if (!text->empty()) return *text;
  }
  // Wine, and a broken system, have no text for some of the very codes
  // that database programs meet most: those are given as Windows gives them,
  // since that is the text a support person searches for.
  switch (static_cast<std::uint32_t>(code)) {
    case 0x8002801Du:
      return L"Library not registered.";
    case 0x80040154u:
      return L"Class not registered.";
    case 0x80004002u:
      return L"No such interface supported.";
    case 0x80004005u:
      return L"Unspecified error.";
    case 0x800A0E7Au:
      return L"Provider cannot be found. It may not be properly installed.";
    default:
      return {};
  }
}
