#include "LoadText.h"

#include <windows.h>

UiLanguage UserUiLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN ? UiLanguage::German
                                                                  : UiLanguage::English;
}

std::wstring LoadText(int id) { return LoadText(id, UserUiLanguage()); }

std::wstring LoadText(int id, UiLanguage language) {
  // LoadStringW picks the block by the exact user language with no fallback
  // from de-AT or de-CH to de-DE, and ignores SetThreadUILanguage under Wine;
  // asking for the block of one language by hand is deterministic.
  if (id < 0 || id > 0xFFFF) return {};
  const LANGID langId = language == UiLanguage::German
                            ? MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)
                            : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  const HMODULE module = GetModuleHandleW(nullptr);
  HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), langId);
  if (!block) return {};
  // A loaded resource of the executable's own image needs no freeing.
  HGLOBAL data = LoadResource(module, block);
  const auto* p = static_cast<const WCHAR*>(LockResource(data));
  if (!p) return {};
  const DWORD size = SizeofResource(module, block) / sizeof(WCHAR);
  const WCHAR* end = p + size;
  // The block holds 16 counted strings; walk to ours.
  for (int i = 0; i < id % 16; ++i) {
    if (p >= end) return {};
    p += 1 + *p;
  }
  if (p >= end || p + 1 + *p > end) return {};
  return std::wstring(p + 1, *p);
}
