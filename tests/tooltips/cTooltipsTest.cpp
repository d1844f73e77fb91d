#include "cTooltips.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RaisedError.h"
#include "UniqueHandle.h"

namespace {

BOOL CALLBACK CountTipWindows(HWND window, LPARAM count) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (std::wstring(cls) == TOOLTIPS_CLASSW) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// A form with two buttons to serve as tools.
class Tooltips : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                300, 200, nullptr, nullptr, nullptr, nullptr));
    a_ = CreateWindowExW(0, L"BUTTON", L"a", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, form_.get(),
                         nullptr, nullptr, nullptr);
    b_ = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10, 40, 80, 24, form_.get(),
                         nullptr, nullptr, nullptr);
    ASSERT_TRUE(a_ && b_);
  }
  // The flags the control holds for the first tool of `control`.
  UINT FlagsOf(HWND control) {
    const int count = static_cast<int>(SendMessageW(tips_.hwnd(), TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TTTOOLINFOW tool{};
      tool.cbSize = cTooltips::kToolRecordSize;
      if (SendMessageW(tips_.hwnd(), TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)) &&
          tool.uId == reinterpret_cast<UINT_PTR>(control))
        return tool.uFlags;
    }
    return 0;
  }

  // Records each title the class sends: the control of this platform cannot
  // be asked for it.
  void WatchTitles() {
    SetWindowSubclass(tips_.hwnd(), &Tooltips::Watch, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  static LRESULT CALLBACK Watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR self) {
    if (message == TTM_SETTITLEW)
      reinterpret_cast<Tooltips*>(self)->titles_.emplace_back(
          wParam, reinterpret_cast<const wchar_t*>(lParam));
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }

  UniqueWindow form_;
  HWND a_ = nullptr, b_ = nullptr;
  cTooltips tips_;
  std::vector<std::pair<WPARAM, std::wstring>> titles_;
};

TEST_F(Tooltips, BeforeCreateEveryOperationIsASilentNoOp) {
  WindowControl a(a_);
  tips_.AddTool(a, 0, L"tip");
  tips_.Enabled(true);
  EXPECT_FALSE(tips_.Enabled());
  tips_.Icon(2);
  tips_.Title(L"x");
  EXPECT_EQ(tips_.Icon(), 0);
  EXPECT_EQ(tips_.Title(), L"");
  EXPECT_EQ(tips_.ToolCount(), 0);
  EXPECT_EQ(tips_.GetDelayTime(TTDT_INITIAL), 0);
  EXPECT_EQ(tips_.MarginLeft(), 0);
  tips_.MarginLeft(5);
  EXPECT_EQ(tips_.MaxTipWidth(), 0);
  EXPECT_EQ(tips_.BackColor(), 0u);
  EXPECT_EQ(tips_.GetTooltipWidth(a), 0);
  EXPECT_FALSE(tips_.HitTest(a, 1, 1));
  EXPECT_EQ(tips_.ToolTipWidthFromText(nullptr, L"abc"), 0);
  EXPECT_EQ(tips_.TextHeightFromToolTipHeight(nullptr, 30), 0);
  EXPECT_EQ(tips_.hwnd(), nullptr);
  // None of them made a tip window of its own on the way.
  int tipWindows = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountTipWindows, reinterpret_cast<LPARAM>(&tipWindows));
  EXPECT_EQ(tipWindows, 0);
}

TEST_F(Tooltips, ToolsAreAddedFoundAndDeletedByTheirWindow) {
  tips_.Create(form_.get(), TTS_ALWAYSTIP | TTS_BALLOON);
  ASSERT_NE(tips_.hwnd(), nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(tips_.hwnd(), cls, 32);
  EXPECT_STREQ(cls, L"tooltips_class32");
  EXPECT_EQ(GetWindow(tips_.hwnd(), GW_OWNER), form_.get());
  EXPECT_TRUE(GetWindowLongW(tips_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  WindowControl a(a_), b(b_);
  tips_.AddTool(a, 0, L"first");
  tips_.AddTool(b, TTF_TRACK, L"");
  EXPECT_EQ(tips_.ToolCount(), 2);
  EXPECT_EQ(FlagsOf(a_), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
  EXPECT_EQ(FlagsOf(b_), static_cast<UINT>(TTF_IDISHWND | TTF_TRACK));
  // The same control twice: the first of its records is the one acted on.
  tips_.AddTool(a, TTF_CENTERTIP, L"second");
  EXPECT_EQ(tips_.ToolCount(), 3);
  tips_.DeleteTool(a);
  EXPECT_EQ(tips_.ToolCount(), 2);
  EXPECT_EQ(FlagsOf(a_), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS | TTF_CENTERTIP));
  // A control never added: nothing happens.
  HWND other = CreateWindowExW(0, L"BUTTON", L"c", WS_CHILD, 0, 0, 5, 5, form_.get(), nullptr,
                               nullptr, nullptr);
  WindowControl never(other);
  tips_.DeleteTool(never);
  tips_.SetTipText(never, L"x");
  EXPECT_EQ(tips_.ToolCount(), 2);
  EXPECT_EQ(tips_.GetTooltipWidth(never), 0);
  EXPECT_EQ(tips_.GetTooltipHeight(never), 0);
  // A control without a window cannot be a tool.
  WindowControl gone(reinterpret_cast<HWND>(0x1234));
  EXPECT_THROW(tips_.AddTool(gone, 0, L"x"), RaisedError);
  EXPECT_EQ(tips_.ToolCount(), 2);
  // The tip text of a tool, and its bubble.
  tips_.SetTipText(a, L"a longer text for the bubble");
  EXPECT_GT(tips_.GetTooltipWidth(a), 0);
  EXPECT_GT(tips_.GetTooltipHeight(a), 0);
  tips_.SetToolRect(a, 1, 2, 30, 40);
  TTTOOLINFOW tool{};
  tool.cbSize = cTooltips::kToolRecordSize;
  SendMessageW(tips_.hwnd(), TTM_ENUMTOOLSW, 1, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(tool.rect.right, 30);
  EXPECT_EQ(tool.rect.bottom, 40);
}

TEST_F(Tooltips, TitleIconAndSettingsRoundTrip) {
  tips_.Create(form_.get(), TTS_ALWAYSTIP);
  EXPECT_TRUE(tips_.Enabled());
  WatchTitles();
  tips_.Icon(TTI_WARNING);
  tips_.Title(L" ");
  EXPECT_EQ(tips_.Icon(), TTI_WARNING);
  EXPECT_EQ(tips_.Title(), L" ");
  EXPECT_EQ(titles_, (std::vector<std::pair<WPARAM, std::wstring>>{{TTI_WARNING, L""},
                                                                   {TTI_WARNING, L" "}}));
  tips_.Enabled(false);
  EXPECT_FALSE(tips_.Enabled());

  tips_.MarginLeft(3);
  tips_.MarginTop(4);
  tips_.MarginRight(5);
  tips_.MarginBottom(6);
  EXPECT_EQ(tips_.MarginLeft(), 3);  // each setter keeps the other sides
  EXPECT_EQ(tips_.MarginTop(), 4);
  EXPECT_EQ(tips_.MarginRight(), 5);
  EXPECT_EQ(tips_.MarginBottom(), 6);

  tips_.BackColor(0x00123456);
  EXPECT_EQ(tips_.BackColor(), 0x00123456u);
  tips_.ForeColor(0x80000000 | COLOR_WINDOWTEXT);  // a system colour reference
  EXPECT_EQ(tips_.ForeColor(), GetSysColor(COLOR_WINDOWTEXT));
  tips_.SetDelayTime(TTDT_INITIAL, 123);
  EXPECT_EQ(tips_.GetDelayTime(TTDT_INITIAL), 123);
  tips_.MaxTipWidth(250);
  EXPECT_EQ(tips_.MaxTipWidth(), 250);

  // The size conversions undo each other.
  const HDC dc = GetDC(form_.get());
  const int width = tips_.ToolTipWidthFromText(dc, L"Some text");
  const int height = tips_.ToolTipHeightFromText(dc, L"Some text");
  SIZE text_size{};
  GetTextExtentPoint32W(dc, L"Some text", 9, &text_size);
  ReleaseDC(form_.get(), dc);
  EXPECT_GE(width, text_size.cx);
  EXPECT_GE(height, text_size.cy);
  EXPECT_EQ(tips_.TextWidthFromToolTipWidth(nullptr, width), text_size.cx);
  EXPECT_EQ(tips_.TextHeightFromToolTipHeight(nullptr, height), text_size.cy);
}

TEST_F(Tooltips, ASecondCreateReplacesTheWindowAndResetsTheSettings) {
  tips_.Create(form_.get(), 0);
  const HWND first = tips_.hwnd();
  tips_.Icon(3);
  tips_.Title(L"t");
  tips_.Enabled(false);
  tips_.Create(form_.get(), TTS_BALLOON);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_NE(tips_.hwnd(), nullptr);
  EXPECT_TRUE(tips_.Enabled());
  EXPECT_EQ(tips_.Icon(), 0);
  EXPECT_EQ(tips_.Title(), L"");
}

// The owner's destruction takes the tip window with it. The handle it had may
// soon name another window; the instance must not destroy that one later.
TEST_F(Tooltips, AWindowTakenWithItsOwnerIsLetGoAndNeverDestroyedAgain) {
  UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                     nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(owner);
  UniqueWindow other;
  {
    cTooltips tips;
    tips.Create(owner.get(), 0);
    const HWND tip = tips.hwnd();
    ASSERT_NE(tip, nullptr);
    owner.reset();
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(tips.hwnd(), nullptr);
    EXPECT_EQ(tips.Title(), L"");
    // Made now, it may well get the freed handle back.
    other.reset(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr));
    ASSERT_TRUE(other);
  }
  EXPECT_TRUE(IsWindow(other.get()));
}

TEST(TooltipWords, MakeLongLoWordHiWordAndColours) {
  EXPECT_EQ(cTooltips::MakeLong(1, 2), 0x00020001);
  EXPECT_EQ(cTooltips::MakeLong(-1, 0), 65535);
  EXPECT_EQ(cTooltips::LoWord(0x0002FFFF), -1);
  EXPECT_EQ(cTooltips::HiWord(0x80000001), -32768);
  EXPECT_EQ(cTooltips::TranslateColor(0x80000005), GetSysColor(5));
  EXPECT_EQ(cTooltips::TranslateColor(0x00010203), 0x00010203u);
  // The version 2 record as the platform's headers size it: it holds handles
  // and pointers, so it is 44 bytes on i686 and 64 on x86_64.
  EXPECT_EQ(cTooltips::kToolRecordSize, TTTOOLINFOW_V2_SIZE);
#ifndef _WIN64
  EXPECT_EQ(cTooltips::kToolRecordSize, 44u);
#endif
}

}  // namespace
