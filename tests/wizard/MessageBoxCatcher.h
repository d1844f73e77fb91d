#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "UniqueHandle.h"

// Answers every message box that this thread opens while it lives, and keeps
// what each one said. A message box is modal: without this a test would hang.
class MessageBoxCatcher {
 public:
  struct Box {
    std::wstring title;
    std::wstring text;
    UINT icon;                 // MB_ICONINFORMATION, ..., 0 for none, ~0u for one of its own
    std::vector<int> buttons;  // IDOK, IDCANCEL, ... in the box's order
    HWND owner;
  };

  MessageBoxCatcher() { current_ = this; }
  ~MessageBoxCatcher() {
    hook_.reset();
    current_ = nullptr;
  }
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  const std::vector<Box>& boxes() const { return boxes_; }
  // Runs as each box appears, before it is answered.
  void OnBox(std::function<void()> action) { onBox_ = std::move(action); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      const HWND dialog = reinterpret_cast<HWND>(wParam);
      wchar_t cls[16] = {};
      GetClassNameW(dialog, cls, 16);
      if (std::wstring(cls) == L"#32770") {
        wchar_t title[256] = {}, text[2048] = {};
        GetWindowTextW(dialog, title, 256);
        GetDlgItemTextW(dialog, 0xFFFF, text, 2048);
        Box box{title, text, 0, {}, GetWindow(dialog, GW_OWNER)};
        ReadIconAndButtons(dialog, box);
        current_->boxes_.push_back(std::move(box));
        if (current_->onBox_) current_->onBox_();
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  // The box keeps no trace of its MB_ flags: they are read back from its
  // controls. The icon is the static control with SS_ICON (id 0x14 on
  // Windows, 0x440 under Wine), holding one of the shared system icons; the
  // buttons are the push buttons the box made, by their command ids.
  static void ReadIconAndButtons(HWND dialog, Box& box) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[16] = {};
      GetClassNameW(child, cls, 16);
      const LONG style = GetWindowLongW(child, GWL_STYLE);
      if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        const auto shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        const struct {
          const wchar_t* id;
          UINT flag;
        } icons[] = {{IDI_INFORMATION, MB_ICONINFORMATION},
                     {IDI_WARNING, MB_ICONWARNING},
                     {IDI_ERROR, MB_ICONERROR},
                     {IDI_QUESTION, MB_ICONQUESTION}};
        for (const auto& icon : icons)
          if (shown && shown == LoadIconW(nullptr, icon.id)) box.icon = icon.flag;
        // An icon that is none of them would be recorded as "no icon" here.
        if (shown && !box.icon) box.icon = ~0u;
      } else if (_wcsicmp(cls, L"Button") == 0 && (style & WS_VISIBLE)) {
        box.buttons.push_back(GetDlgCtrlID(child));
      }
    }
  }

  static inline MessageBoxCatcher* current_ = nullptr;
  UniqueHook hook_{
      SetWindowsHookExW(WH_CBT, &MessageBoxCatcher::Hook, nullptr, GetCurrentThreadId())};
  std::vector<Box> boxes_;
  std::function<void()> onBox_;
};

// The buttons of a box with MB_OK.
inline const std::vector<int> kOkButtonOnly{IDOK};
