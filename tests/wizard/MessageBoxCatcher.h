#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Answers every message box that this thread opens while it lives, and keeps
// what each one said. A message box is modal: without this a test would hang.
class MessageBoxCatcher {
 public:
  struct Box {
    std::wstring title;
    std::wstring text;
    LONG style;
    HWND owner;
  };

  MessageBoxCatcher() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxCatcher::Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxCatcher() {
    UnhookWindowsHookEx(hook_);
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
        // The icon is a static control with an icon; the box's own style is not kept.
        current_->boxes_.push_back(
            {title, text, GetWindowLongW(dialog, GWL_STYLE), GetWindow(dialog, GW_OWNER)});
        if (current_->onBox_) current_->onBox_();
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline MessageBoxCatcher* current_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<Box> boxes_;
  std::function<void()> onBox_;
};
