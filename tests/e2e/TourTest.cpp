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
#include "UniqueHandle.h"

namespace {

using I = ControlId;

// A picture of another process's window, read back from the display.
bool SaveWindow(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  const HGDIOBJ old = SelectObject(memory, bitmap.get());
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  std::ofstream out(file.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits),
            static_cast<std::streamsize>(stride * static_cast<DWORD>(h)));
  return out.good();
}

TEST(Tour, FivePages) {
  const wchar_t* folder = _wgetenv(L"MDAC_TOUR_DIR");
  if (!folder) GTEST_SKIP() << "MDAC_TOUR_DIR not set";
  const std::wstring dir = folder;
  RemoteWizard wizard(TestDirectory() + L"\\..\\src\\MdacRepair.exe");
  ASSERT_NE(wizard.window(), nullptr);
  const auto waitPage = [&](int page) {
    return wizard.WaitUntil([&] { return wizard.Page() == page; });
  };
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\1-welcome.bmp"));
  wizard.Key(VK_RETURN);
  ASSERT_TRUE(waitPage(2));
  EXPECT_TRUE(SaveWindow(wizard.window(), dir + L"\\2-versions.bmp"));
  wizard.Key(VK_RETURN);
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
