// The check of the user's own database file and program: the version page's
// link asks for the file and checks it, and a file dropped on the wizard, on
// any page, is filled into the check's window, where the user's Check starts
// the work. The window stays open beside the wizard.
#include "DroppedFiles.h"
#include "UserFileChecks.h"
#include "UserFileDialog.h"
#include "frmMain.h"

DatabaseCheckWindow* frmMain::OpenDatabaseCheck() {
  if (!hwnd()) return nullptr;
  if (!databaseCheck_)
    databaseCheck_ = std::make_unique<DatabaseCheckWindow>(
        options_.fileChecker ? options_.fileChecker
                             : DatabaseCheckWindow::Checker(&CheckUserFilesNamed));
  if (!databaseCheck_->Show(hwnd(), dpi_, fonts_->Get(FontRole::Normal))) return nullptr;
  return databaseCheck_.get();
}

void frmMain::CheckDatabase_Click() {
  // The file comes first: the window opens with its findings on the way.
  const std::optional<std::wstring> path = AskForUserFile(hwnd(), UserFileKind::Database, {});
  if (!path) return;
  if (DatabaseCheckWindow* check = OpenDatabaseCheck()) check->Chosen(*path, KindOfUserFile(*path));
}

void frmMain::Form_DropFiles(HDROP drop) {
  const DroppedFiles files = TakeDroppedFiles(drop);
  if (!files.unreadable && files.paths.empty()) return;
  if (DatabaseCheckWindow* check = OpenDatabaseCheck()) check->Dropped(files);
}
