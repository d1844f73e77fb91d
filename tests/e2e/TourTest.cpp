// Not a check: walks the five pages of the real program as a user would and
// saves a picture of each into the folder MDAC_TOUR_DIR names (run.sh uses
// it). Skipped when that is not set.
#include <gtest/gtest.h>
#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "DatabaseCheckWindow.h"
#include "LoadText.h"
#include "RemoteWizard.h"
#include "TestPaths.h"
#include "TextIds.h"
#include "WindowPicture.h"

namespace {

using I = ControlId;

// A picture of another process's window, read back from the display.
bool SaveWindow(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  RECT r;
  GetWindowRect(window, &r);
  const HDC screen = GetDC(nullptr);
  const bool saved = SavePicture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, file);
  ReleaseDC(nullptr, screen);
  return saved;
}

// A database of a till program under Program Files, as many a shop has it:
// a lock file that names two computers, one of them with the database open
// now, and the program, a .NET one built for "Any CPU". Removed again.
class ShopDatabase {
 public:
  ShopDatabase() {
    wchar_t programs[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs);
    folder_ = std::wstring(programs) + L"\\Kasse";
    CreateDirectoryW(folder_.c_str(), nullptr);
    Write(database(), CraftedDatabase{}.Bytes());
    Write(folder_ + L"\\Kunden.ldb",
          LockEntry("PC-ACCOUNTING", "Admin") + LockEntry("KASSE-2", "Admin"));
    CraftedProgram anyCpu;
    anyCpu.dotnet = true;
    Write(program(), anyCpu.Bytes());
    // PC-ACCOUNTING's slot is taken, as Jet takes it for a user it serves.
    lock_ = CreateFileW((folder_ + L"\\Kunden.ldb").c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    LockFile(lock_, 0x10000001, 0, 1, 0);
  }
  ~ShopDatabase() {
    CloseHandle(lock_);
    for (const wchar_t* name : {L"Kunden.mdb", L"Kunden.ldb", L"Kasse.exe"})
      DeleteFileW((folder_ + L"\\" + name).c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring database() const { return folder_ + L"\\Kunden.mdb"; }
  std::wstring program() const { return folder_ + L"\\Kasse.exe"; }

 private:
  template <typename Bytes>
  static void Write(const std::wstring& path, const Bytes& bytes) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::wstring folder_;
  HANDLE lock_ = INVALID_HANDLE_VALUE;
};

// The database check of the shop's database and program, as the user makes
// it: the version page's link, the Open dialog, the program typed in, Check.
void CheckTheShopDatabase(RemoteWizard& wizard, const std::wstring& dir) {
  const ShopDatabase shop;
  wizard.Click(I::lblCheckDatabase);
  HWND open = nullptr;
  wizard.WaitUntil([&] {
    open = FindWindowW(L"#32770", LoadText(IDS_DBCHECK_OPEN_DATABASE).c_str());
    return open && IsWindowVisible(open);
  });
  ASSERT_NE(open, nullptr);
  HWND name = GetDlgItem(open, 0x47C);  // the file name field
  if (!name) name = GetDlgItem(open, 0x480);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shop.database().c_str()));
  PostMessageW(open, WM_COMMAND, IDOK, 0);
  HWND check = nullptr;
  const auto rows = [&] {
    return static_cast<int>(
        SendMessageW(GetDlgItem(check, FindingsWindow::kList), LVM_GETITEMCOUNT, 0, 0));
  };
  wizard.WaitUntil([&] {
    check = FindWindowW(L"#32770", LoadText(IDS_DBCHECK_TITLE).c_str());
    return check && IsWindowVisible(check) && rows() > 0;
  });
  ASSERT_NE(check, nullptr);
  const int databaseRows = rows();
  SendMessageW(GetDlgItem(check, DatabaseCheckWindow::kProgramPath), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(shop.program().c_str()));
  wizard.Click(GetDlgItem(check, DatabaseCheckWindow::kCheck));
  wizard.WaitUntil([&] { return rows() > databaseRows; });
  EXPECT_TRUE(SaveWindow(check, dir + L"\\2-database.bmp"));
  PostMessageW(check, WM_CLOSE, 0, 0);
  wizard.WaitUntil([&] { return !IsWindow(check); });
}

TEST(Tour, FivePages) {
  const wchar_t* folder = _wgetenv(L"MDAC_TOUR_DIR");
  if (!folder) GTEST_SKIP() << "MDAC_TOUR_DIR not set";
  const std::wstring dir = folder;
  RemoteWizard wizard(ProgramPath());
  ASSERT_NE(wizard.window(), nullptr);
  const auto waitPage = [&](int page) {
    return wizard.WaitUntil([&] { return wizard.Page() == page; });
  };
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\1-welcome.bmp"));
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(waitPage(2));
  // With the access test's answer; then the engine details behind the link.
  wizard.WaitUntil([&] { return wizard.Text(I::lblAccessTest) != LoadText(IDS_ACCESS_RUNNING); });
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\2-versions.bmp"));
  wizard.Click(I::lblEngineDetails);
  HWND details = nullptr;
  wizard.WaitUntil([&] {
    details = FindWindowW(L"#32770", LoadText(IDS_ENGINES_WINDOW_TITLE).c_str());
    return details && IsWindowVisible(details);
  });
  EXPECT_TRUE(details && SaveWindow(details, dir + L"\\2-engines.bmp"));
  if (details) PostMessageW(details, WM_CLOSE, 0, 0);
  wizard.WaitUntil([&] { return !IsWindow(details); });
  CheckTheShopDatabase(wizard, dir);
  // A link has the focus now, where Enter would open its window again.
  wizard.Click(wizard.Button(LoadText(IDS_NEXT)));
  ASSERT_TRUE(waitPage(3));
  wizard.Click(I::cmdRepairMDAC);
  wizard.AnswerBoxes([&] { return wizard.Visible(I::optFurtherProblems); }, 60000);
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\3-repair.bmp"));
  wizard.Click(I::optFurtherProblems);
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(waitPage(4));
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\4-files.bmp"));
  wizard.Click(I::cmdZurück);
  ASSERT_TRUE(waitPage(3));
  wizard.Click(I::optResolved);
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(waitPage(5));
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\5-finish.bmp"));
  wizard.Key(VK_ESCAPE);
  EXPECT_TRUE(wizard.WaitForExit());
}

}  // namespace
