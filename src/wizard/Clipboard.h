#pragma once

#include <windows.h>

#include <string>

// Puts `text` on the clipboard as Unicode text, `owner` owning the
// clipboard for the moment. False when the clipboard or the memory is not
// to be had; nothing is left behind then.
bool PutOnClipboard(HWND owner, const std::wstring& text);
