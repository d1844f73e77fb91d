#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BackgroundTask.h"
#include "DroppedFiles.h"
#include "FileCheckSections.h"
#include "FindingsWindow.h"
#include "UserFileChecks.h"
#include "UserFileDialog.h"

// The database check's window: the paths of a database file and of the
// program that opens it, filled in by the user, by the Open dialog or by a
// drop, and what the check of them found, a finding a row with what to do
// about it, in the words of /check /database and /check /program.
//
// The check runs on a thread of its own: the files may lie on a share that
// no longer answers, and the window answers all the same. A check whose
// paths have changed since, or whose window has closed, is forgotten; its
// thread ends when the platform lets it. A drop only fills in the paths:
// the user's Check starts the work.
class DatabaseCheckWindow : private FindingsWindow::Extension {
 public:
  // Checks the files named; it runs on a thread of its own and must need
  // nothing of the window.
  using Checker = std::function<UserFileChecks(const UserFileRequest&)>;

  // The ids of its own controls, in their Tab order.
  enum : int {
    kDatabaseLabel = FindingsWindow::kExtensionIds,
    kDatabasePath,
    kChooseDatabase,
    kProgramLabel,
    kProgramPath,
    kChooseProgram,
    kCheck,
  };

  explicit DatabaseCheckWindow(Checker checker);
  ~DatabaseCheckWindow() override;
  DatabaseCheckWindow(const DatabaseCheckWindow&) = delete;
  DatabaseCheckWindow& operator=(const DatabaseCheckWindow&) = delete;

  // Shows the window in front of `owner`, in its font and at its DPI; an
  // open window only comes to the front. False when it cannot be made.
  bool Show(HWND owner, int dpi, HFONT font);
  // A file the user chose in the Open dialog: it goes into the field of its
  // kind, and the check starts.
  void Chosen(const std::wstring& path, UserFileKind kind);
  // Files dropped on this window or on the wizard: the first of each kind
  // fill the fields and the focus goes to Check; nothing is checked yet.
  void Dropped(const DroppedFiles& files);
  // Starts the check of the paths in the fields.
  void Check();
  void Close() { window_.Close(); }

  HWND hwnd() const { return window_.hwnd(); }
  HWND Item(int id) const { return window_.Item(id); }
  bool PreTranslateMessage(MSG& msg) { return window_.PreTranslateMessage(msg); }
  // Whether a check runs whose findings are still wanted.
  bool Checking() const { return task_.Pending(); }
  // What Copy puts on the clipboard.
  std::wstring Text() const { return window_.CopiedText(); }

 private:
  void CreateControls(HWND window) override;
  int LayOut(int left, int top, int right) override;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring CopyText() const override;
  int DefaultButton() const override { return kCheck; }
  int DesignHeight() const override { return 7200; }

  void Choose(UserFileKind kind);
  void Finished(WPARAM number);
  void PathChanged();
  // Shows `introduction` above an empty list.
  void ShowState(const std::wstring& introduction);
  Findings Frame(const std::wstring& introduction) const;
  std::wstring Field(int id) const;

  // Posted by the check's thread when it is done; wParam: its number.
  static constexpr UINT kCheckDone = WM_APP + 1;

  Checker checker_;
  FindingsWindow window_{this};
  BackgroundTask<UserFileChecks> task_;
  std::vector<FileCheckSection> sections_;  // what the last check found
  // Gone with this object: what outlives it can tell.
  std::shared_ptr<int> alive_ = std::make_shared<int>();
};
