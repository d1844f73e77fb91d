#include "frmMain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "LoadText.h"
#include "TextIds.h"

namespace {

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

TEST(frmMain, OpensWithCaptionInTheUsersLanguageAndTheDesignedSize) {
  frmMain form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr))) << GetLastError();
  EXPECT_EQ(WindowText(form.hwnd()), LoadText(IDS_CAPTION));
  if (const char* ui = std::getenv("MDAC_EXPECT_UI"); ui && std::string(ui) == "de") {
    EXPECT_EQ(WindowText(form.hwnd()), L"MDAC-Analyse und Reparaturprogramm");
  }

  RECT client{};
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, MulDiv(7320, form.dpi(), 1440));
  EXPECT_EQ(client.bottom, MulDiv(4860, form.dpi(), 1440));
  DestroyWindow(form.hwnd());
  EXPECT_EQ(form.hwnd(), nullptr);
}

}  // namespace
