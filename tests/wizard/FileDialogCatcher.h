#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "UniqueHandle.h"

// Answers the Open dialogs this thread shows while it lives, as a user would:
// the next of the given paths typed into the file name field and Open
// pressed, or Cancel where the answer is empty. The dialog is modal: it runs
// its own message loop, where a timer of this thread gets to act on it once
// it has settled. Keeps each dialog's title.
class FileDialogCatcher {
 public:
  explicit FileDialogCatcher(std::deque<std::wstring> answers) : answers_(std::move(answers)) {
    current_ = this;
  }
  ~FileDialogCatcher() {
    hook_.reset();
    current_ = nullptr;
  }
  FileDialogCatcher(const FileDialogCatcher&) = delete;
  FileDialogCatcher& operator=(const FileDialogCatcher&) = delete;

  const std::vector<std::wstring>& titles() const { return titles_; }
  // Runs as each dialog has settled, before it is answered.
  void OnDialog(std::function<void()> action) { onDialog_ = std::move(action); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ && !current_->dialog_) {
      const HWND dialog = reinterpret_cast<HWND>(wParam);
      wchar_t cls[16] = {};
      GetClassNameW(dialog, cls, 16);
      // Other dialogs of the thread (the check's own window) have no file
      // name field.
      if (std::wstring(cls) == L"#32770" && FileNameField(dialog)) {
        current_->dialog_ = dialog;
        SetTimer(nullptr, 0, 100, &FileDialogCatcher::Answer);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    FileDialogCatcher* self = current_;
    if (!self || !self->dialog_) return;
    const HWND dialog = std::exchange(self->dialog_, nullptr);
    wchar_t title[256] = {};
    GetWindowTextW(dialog, title, 256);
    self->titles_.push_back(title);
    if (self->onDialog_) self->onDialog_();
    if (!IsWindow(dialog)) return;
    std::wstring answer;
    if (!self->answers_.empty()) {
      answer = self->answers_.front();
      self->answers_.pop_front();
    }
    if (answer.empty()) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    SetWindowTextW(FileNameField(dialog), answer.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }

  // The file name field: a combo box (cmb13) in the dialogs of Windows 2000
  // and later, an edit (edt1) in older templates.
  static HWND FileNameField(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, 0x47C);
    return combo ? combo : GetDlgItem(dialog, 0x480);
  }

  static inline FileDialogCatcher* current_ = nullptr;
  std::deque<std::wstring> answers_;
  std::vector<std::wstring> titles_;
  HWND dialog_ = nullptr;
  std::function<void()> onDialog_;
  UniqueHook hook_{
      SetWindowsHookExW(WH_CBT, &FileDialogCatcher::Hook, nullptr, GetCurrentThreadId())};
};
