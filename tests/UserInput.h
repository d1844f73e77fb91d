#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

// Real input, as the platform makes it from a user's keys and mouse, and the
// clipboard as another program reads it.
namespace UserInput {

inline INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// A key pressed and let go, with Shift held if asked; the platform makes the
// key and character messages.
inline void Key(WORD vk, bool shift = false) {
  std::vector<INPUT> keys;
  if (shift) keys.push_back(KeyInput(VK_SHIFT, false));
  keys.push_back(KeyInput(vk, false));
  keys.push_back(KeyInput(vk, true));
  if (shift) keys.push_back(KeyInput(VK_SHIFT, true));
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// A character typed, whatever the keyboard layout.
inline void Character(wchar_t ch) {
  INPUT keys[2] = {};
  for (INPUT& in : keys) {
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// Presses the keys in order and releases them in reverse (a chord: Ctrl+C).
inline void Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *--it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click at a point of the screen.
inline void ClickOnScreen(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// The middle of `window`'s close box on the screen, as the window itself
// answers where it is; {-1, -1} when it has none.
inline POINT CloseBoxOf(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  for (LONG y = frame.top; y < frame.top + 40; ++y)
    for (LONG x = frame.right - 1; x > frame.right - 80; --x)
      if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return {x - 4, y + 4};
  return {-1, -1};
}

// A click with the left or right button at a point of `window`'s client
// area, with Ctrl held down if asked.
inline void Click(HWND window, POINT at, bool right = false, bool ctrl = false) {
  ClientToScreen(window, &at);
  SetCursorPos(at.x, at.y);
  std::vector<INPUT> inputs;
  const auto key = [&](DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_CONTROL;
    in.ki.dwFlags = flags;
    inputs.push_back(in);
  };
  const auto mouse = [&](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    inputs.push_back(in);
  };
  if (ctrl) key(0);
  mouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  mouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  if (ctrl) key(KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The middle of row `row` (0 = the first shown) of a report-view list in
// another process, in the list's client coordinates: found from the header's
// height and the row height the list reports, no pointers crossing over.
inline POINT RowPoint(HWND list, int row) {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT headerRect{};
  GetWindowRect(header, &headerRect);
  const auto height = [&](int rows) {
    return HIWORD(SendMessageW(list, LVM_APPROXIMATEVIEWRECT, rows, MAKELPARAM(-1, -1)));
  };
  const int rowHeight = height(2) - height(1);
  return {20, (headerRect.bottom - headerRect.top) + row * rowHeight + rowHeight / 2};
}

// The control with the keyboard focus in the thread of `window`.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

inline void ClearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// The clipboard's Unicode text once it has some (empty after the time).
inline std::wstring WaitForClipboardText(int milliseconds = 3000) {
  for (int waited = 0; waited < milliseconds; waited += 20) {
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(nullptr)) {
      std::wstring text;
      if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
          text = chars;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
      if (!text.empty()) return text;
    }
    Sleep(20);
  }
  return {};
}

}  // namespace UserInput
