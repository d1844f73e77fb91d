// Not a check: walks the five pages of the real program as a user would and
// saves a picture of each into the folder MDAC_TOUR_DIR names (run.sh uses
// it). Skipped when that is not set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

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
  // The link has the focus now, where Enter would open the details again.
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
