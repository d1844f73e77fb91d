// The version page's link to the engine details and the findings window it
// opens: reached and pressed by the keyboard as by the mouse, owned by the
// wizard, Esc closes it, Ctrl+C copies all it shows; driven by real input.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "EngineTexts.h"
#include "FindingsWindow.h"
#include "LoadText.h"
#include "TextIds.h"
#include "UserInput.h"
#include "WizardTestSupport.h"
#include "WizardWithEngines.h"

namespace {

using I = ControlId;

EngineInventory Machine() {
  EngineInventory inventory;
  inventory.windows64 = true;
  inventory.entries = {
      EngineOf(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 32, EngineState::Registered, 4,
               L"C:\\Windows\\SysWOW64\\msjetoledb40.dll"),
      EngineOf(EngineKind::OleDb, L"Microsoft.Jet.OLEDB.4.0", 64, EngineState::NotAvailable),
      EngineOf(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 32, EngineState::NotRegistered),
      EngineOf(EngineKind::OleDb, L"Microsoft.ACE.OLEDB.16.0", 64, EngineState::Registered, 16,
               L"C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL"),
      // Jet's driver under two names for 32-bit programs, one entry for 64-bit ones.
      EngineOf(EngineKind::Odbc, L"Microsoft Access-Treiber (*.mdb)", 32, EngineState::FileMissing,
               0, L"C:\\Windows\\SysWOW64\\odbcjt32.dll"),
      EngineOf(EngineKind::Odbc, L"Microsoft Access Driver (*.mdb)", 32,
               EngineState::NotRegistered),
      EngineOf(EngineKind::Odbc, L"Microsoft Access Driver (*.mdb)", 64, EngineState::NotAvailable),
  };
  inventory.dataSources = {{L"Orders", L"Microsoft Access-Treiber (*.mdb)", true, false, false}};
  return inventory;
}

class EngineDetails : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr)));
    form_.Show(SW_SHOW);
    form_.Press(I::cmdWeiter);
    Pump(100);
  }
  void Pump(int milliseconds) {
    PumpFor(milliseconds, [&](MSG& msg) { return form_.PreTranslateMessage(msg); });
  }
  void Key(WORD vk, bool shift = false) {
    UserInput::Key(vk, shift);
    Pump(80);
  }
  HWND Details() { return form_.EngineDetailsWindow(); }
  HWND Item(int id) { return GetDlgItem(Details(), id); }
  std::wstring Cell(int row, int column) {
    wchar_t text[512] = {};
    ListView_GetItemText(Item(FindingsWindow::kList), row, column, text, 512);
    return text;
  }

  WizardWithEngines form_{Machine()};
};

TEST_F(EngineDetails, TheKeyboardReachesTheLinkAndEscClosesTheWindow) {
  const HWND link = form_.Control(I::lblEngineDetails);
  // From Next over Cancel to the link, the page's one control for the keyboard.
  Key(VK_TAB);
  Key(VK_TAB);
  ASSERT_EQ(GetFocus(), link);
  // Enter presses the link, not Next: no push button looks like the default.
  EXPECT_NE(GetWindowLongW(form_.Control(I::cmdWeiter), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  Key(VK_RETURN);
  ASSERT_NE(Details(), nullptr);
  EXPECT_EQ(form_.iStep, frmMain::StepVersions);
  EXPECT_TRUE(IsWindowVisible(Details()));
  EXPECT_EQ(GetWindow(Details(), GW_OWNER), form_.hwnd());
  EXPECT_EQ(TextOf(Details()), LoadText(IDS_ENGINES_WINDOW_TITLE));
  EXPECT_EQ(GetFocus(), Item(FindingsWindow::kList));
  // Tab goes round the list, the text and the two buttons.
  std::vector<HWND> round;
  for (int i = 0; i < 4; ++i) {
    Key(VK_TAB);
    round.push_back(GetFocus());
  }
  EXPECT_EQ(round, (std::vector<HWND>{Item(FindingsWindow::kDetails), Item(FindingsWindow::kCopy),
                                      Item(FindingsWindow::kClose), Item(FindingsWindow::kList)}));
  // Esc closes it, also from the text, and the wizard has the focus again.
  Key(VK_TAB);
  Key(VK_ESCAPE);
  EXPECT_EQ(Details(), nullptr);
  EXPECT_EQ(form_.iStep, frmMain::StepVersions);
  ASSERT_NE(form_.hwnd(), nullptr);
  Pump(100);
  EXPECT_TRUE(IsChild(form_.hwnd(), GetFocus()));
  // Space presses the focused link too; Enter on the focused Close closes.
  SetActiveWindow(form_.hwnd());
  SetFocus(link);
  Key(VK_SPACE);
  ASSERT_NE(Details(), nullptr);
  Key(VK_TAB, true);
  ASSERT_EQ(GetFocus(), Item(FindingsWindow::kClose));
  Key(VK_RETURN);
  EXPECT_EQ(Details(), nullptr);
}

// One row per engine, its state for each width; the selected row in full
// under the list, with what each state means.
TEST_F(EngineDetails, TheWindowListsTheWholeInventory) {
  if (UserUiLanguage() != UiLanguage::English) GTEST_SKIP() << "compares English texts";
  UserInput::Click(form_.Control(I::lblEngineDetails), {3, 3});
  Pump(150);
  ASSERT_NE(Details(), nullptr);
  const HWND list = Item(FindingsWindow::kList);
  ASSERT_EQ(ListView_GetItemCount(list), 5);
  const std::vector<std::vector<std::wstring>> expected = {
      {L"Microsoft.Jet.OLEDB.4.0 (OLE DB): Jet 4.0", L"registered (4.0.5044.1000)",
       L"not available"},
      {L"Microsoft.ACE.OLEDB.16.0 (OLE DB): ACE 16.0", L"not registered",
       L"registered (16.0.5044.1000)"},
      {L"Microsoft Access-Treiber (*.mdb) (ODBC): Jet 4.0", L"file missing", L"not available"},
      {L"Microsoft Access Driver (*.mdb) (ODBC): Jet 4.0", L"not registered", L""},
      {L"Data source \"Orders\" (System)", L"not usable (IM002)", L"not usable (IM002)"},
  };
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 3; ++column)
      EXPECT_EQ(Cell(row, column), expected[row][column]) << row << "/" << column;
  // The first row is selected and shown in full, above the states' meanings.
  std::wstring details = TextOf(Item(FindingsWindow::kDetails));
  EXPECT_EQ(details.rfind(L"Microsoft.Jet.OLEDB.4.0 (OLE DB): Jet 4.0\r\n32-bit programs: "
                          L"registered; file C:\\Windows\\SysWOW64\\msjetoledb40.dll; version "
                          L"4.0.5044.1000\r\n64-bit programs: not available\r\n\r\n",
                          0),
            0u)
      << std::string(details.begin(), details.end());
  for (EngineState state :
       {EngineState::Registered, EngineState::FileMissing, EngineState::OfficeOnly,
        EngineState::NotRegistered, EngineState::NotAvailable})
    EXPECT_NE(details.find(EngineStateMeaning(state)), std::wstring::npos);
  // Another row by the keyboard.
  SetFocus(list);
  Key(VK_DOWN);
  Key(VK_DOWN);
  details = TextOf(Item(FindingsWindow::kDetails));
  EXPECT_EQ(details.rfind(L"Microsoft Access-Treiber (*.mdb) (ODBC): Jet 4.0\r\n32-bit programs: "
                          L"file missing; file C:\\Windows\\SysWOW64\\odbcjt32.dll\r\n",
                          0),
            0u);
  // The introduction: what each width opens.
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)),
            L"32-bit programs: Access 97 files and Access 2000-2003 files through Jet 4.0; no "
            L"engine for .accdb files.\r\n64-bit programs: Access 2000-2003 files and .accdb "
            L"files through ACE 16.0; no engine for Access 97 files.");
}

// Ctrl+C in the list and the Copy button put all of it on the clipboard;
// in the text, a selection is copied as it is.
TEST_F(EngineDetails, CtrlCAndCopyPutEverythingOnTheClipboard) {
  SendMessageW(form_.Control(I::lblEngineDetails), BM_CLICK, 0, 0);
  Pump(100);
  ASSERT_NE(Details(), nullptr);
  UserInput::ClearClipboard();
  UserInput::Chord({VK_CONTROL, 'C'});
  Pump(100);
  const std::wstring copied = UserInput::WaitForClipboardText();
  EXPECT_EQ(
      copied.rfind(LoadText(IDS_ENGINES_WINDOW_TITLE) + L"\r\n" + EngineVerdictText(Machine(), 32) +
                       L"\r\n" + EngineVerdictText(Machine(), 64) + L"\r\n\r\n" +
                       LoadText(IDS_ENGINES_COLUMN_ENGINE) + L"\t" + ProgramsTitle(32) + L"\t" +
                       ProgramsTitle(64) + L"\r\n",
                   0),
      0u);
  for (const EngineEntry& e : Machine().entries) {
    EXPECT_NE(copied.find(L"  " + EngineEntryLine(e) + L"\r\n"), std::wstring::npos)
        << std::string(e.name.begin(), e.name.end());
  }
  EXPECT_NE(copied.find(EngineStateMeaning(EngineState::OfficeOnly)), std::wstring::npos);
  // The button copies the same.
  UserInput::ClearClipboard();
  UserInput::Click(Item(FindingsWindow::kCopy), {5, 5});
  Pump(100);
  EXPECT_EQ(UserInput::WaitForClipboardText(), copied);
  // A word selected in the text: that word.
  const HWND text = Item(FindingsWindow::kDetails);
  SetFocus(text);
  SendMessageW(text, EM_SETSEL, 0, 9);
  UserInput::ClearClipboard();
  UserInput::Chord({VK_CONTROL, 'C'});
  Pump(100);
  EXPECT_EQ(UserInput::WaitForClipboardText(), TextOf(text).substr(0, 9));
}

TEST_F(EngineDetails, TheWindowGoesWithTheWizard) {
  SendMessageW(form_.Control(I::lblEngineDetails), BM_CLICK, 0, 0);
  Pump(50);
  const HWND details = Details();
  ASSERT_NE(details, nullptr);
  // A second click shows the same window again, not a second one.
  SetActiveWindow(form_.hwnd());
  SendMessageW(form_.Control(I::lblEngineDetails), BM_CLICK, 0, 0);
  EXPECT_EQ(Details(), details);
  form_.Press(I::cmdAbbrechen);
  EXPECT_EQ(form_.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(details));
}

}  // namespace
