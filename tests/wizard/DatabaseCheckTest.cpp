// The database check's window: a drop fills in the paths on any page and
// starts nothing, the link's Open dialog and the window's buttons choose the
// files, the keyboard and the mouse work it, it says what /check says, it
// fits at the screen's DPI, and it answers while a check hangs.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "ConsoleFileChecks.h"
#include "ControlLayout.h"
#include "CraftedDatabase.h"
#include "CraftedProgram.h"
#include "DroppedFiles.h"
#include "EngineRegistry.h"
#include "FileDialogCatcher.h"
#include "FormatPlaceholders.h"
#include "SystemFunction.h"
#include "TextIds.h"
#include "UserFolder.h"
#include "UserInput.h"
#include "Utf8.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;
using W = DatabaseCheckWindow;

// A block of dropped files as Explorer makes it (or, not wide, an older
// program), posted as the platform delivers a drop.
void PostDrop(HWND window, const std::vector<std::wstring>& paths, bool wide = true) {
  std::vector<std::uint8_t> block(20, 0);
  block[0] = 20;
  block[16] = wide ? 1 : 0;
  for (const std::wstring& path : paths) {
    if (wide) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(path.c_str());
      block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    } else {
      char ansi[MAX_PATH * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
      block.insert(block.end(), ansi, ansi + std::strlen(ansi) + 1);
    }
  }
  block.insert(block.end(), wide ? 2 : 1, 0);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
  std::memcpy(GlobalLock(memory), block.data(), block.size());
  GlobalUnlock(memory);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// A check of files on a source that does not answer: it waits until the
// test lets it go (or 5 s), then finds a file that is missing. It counts its
// calls and notes its thread.
class HangingSource {
 public:
  W::Checker Checker() const {
    return [state = state_](const UserFileRequest& request) {
      state->thread = GetCurrentThreadId();
      ++state->calls;
      WaitForSingleObject(state->release.get(), 5000);
      UserFileChecks checks;
      checks.completed = true;
      checks.database.emplace().file = {
          request.database, request.database, FileProblem::Missing, {}};
      ++state->finished;
      return checks;
    };
  }
  void Release() const { SetEvent(state_->release.get()); }
  int calls() const { return state_->calls; }
  int finished() const { return state_->finished; }
  DWORD thread() const { return state_->thread; }

 private:
  struct State {
    UniqueKernelHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> calls{0}, finished{0};
    std::atomic<DWORD> thread{0};
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The key of a caption's mnemonic (an ASCII letter in both languages).
WORD Mnemonic(int caption) {
  const std::wstring text = LoadText(caption);
  const std::size_t at = text.find(L'&');
  return at == std::wstring::npos ? 0 : static_cast<WORD>(towupper(text[at + 1]));
}

class DatabaseCheck : public ::testing::Test {
 protected:
  void Open(W::Checker checker = {}) {
    frmMain::Options options{false};
    options.fileChecker = std::move(checker);
    form_ = std::make_unique<frmMain>(options);
    ASSERT_TRUE(form_->Create(GetModuleHandleW(nullptr)));
    form_->Show(SW_SHOW);
    Pump(50);
  }
  void TearDown() override { hanging_.Release(); }
  void Pump(int milliseconds) {
    PumpFor(milliseconds,
            [&](MSG& msg) { return form_->hwnd() && form_->PreTranslateMessage(msg); });
  }
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    return ::PumpUntil(done, milliseconds,
                       [&](MSG& msg) { return form_->hwnd() && form_->PreTranslateMessage(msg); });
  }
  void Key(WORD vk, bool shift = false) {
    UserInput::Key(vk, shift);
    Pump(80);
  }
  W* Check() const { return form_->DatabaseCheck(); }
  HWND Item(int id) const { return Check()->Item(id); }
  bool Done() {
    return PumpUntil([&] { return !Check() || !Check()->Checking(); });
  }
  std::vector<std::wstring> Findings() const {
    std::vector<std::wstring> rows;
    const HWND list = Item(FindingsWindow::kList);
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
      wchar_t text[4096] = {};
      ListView_GetItemText(list, row, 1, text, 4096);
      rows.push_back(text);
    }
    return rows;
  }
  // What /check says of the same files, as the window copies it.
  static std::wstring CheckSays(const std::wstring& database, const std::wstring& program) {
    CommandLineRequest request;
    if (!database.empty()) request.database = database;
    if (!program.empty()) request.program = program;
    std::wstring text = LoadText(IDS_DBCHECK_TITLE) + L"\r\n\r\n";
    for (wchar_t c : CheckUserFiles(request, ReadEngineInventory()).text)
      text += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    return text;
  }

  std::unique_ptr<frmMain> form_;
  HangingSource hanging_;
};

// A drop fills in the paths on any page, before and after the repair, and on
// the check's own window; the focus waits on Check, nothing is checked.
TEST_F(DatabaseCheck, ADropFillsInThePathsOnAnyPageAndChecksNothing) {
  const std::wstring foreign = L"C:\\Daten\\\u65e5\u672c \u03a9\u03bc\u03ad\u03b3\u03b1.mdb";
  const struct {
    int page;  // where the drop lands: 1 to 5, or 0 for the check's own window
    std::vector<std::wstring> paths;
    bool wide;
    std::wstring database, program;
    std::wstring introduction;
  } cases[] = {
      {1,
       {L"C:\\Daten\\Kunden.mdb"},
       true,
       L"C:\\Daten\\Kunden.mdb",
       L"",
       LoadText(IDS_DBCHECK_DROPPED)},
      {2, {foreign}, true, foreign, L"", LoadText(IDS_DBCHECK_DROPPED)},
      {5,
       {L"C:\\Kasse\\Kasse.EXE"},
       true,
       L"",
       L"C:\\Kasse\\Kasse.EXE",
       LoadText(IDS_DBCHECK_DROPPED)},
      {2,
       {L"C:\\a\\Erste.accdb", L"C:\\a\\Kasse.exe", L"C:\\a\\Zweite.mdb"},
       true,
       L"C:\\a\\Erste.accdb",
       L"C:\\a\\Kasse.exe",
       Filled(IDS_DBCHECK_DROPPED_MANY, L"3")},
      {1, {L"C:\\Daten"}, true, L"C:\\Daten", L"", LoadText(IDS_DBCHECK_DROPPED)},  // a folder
      {0,
       {L"\\\\server\\share\\Kunden.mdb"},
       false,
       L"\\\\server\\share\\Kunden.mdb",
       L"",
       LoadText(IDS_DBCHECK_DROPPED)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.paths[0]));
    Open(hanging_.Checker());
    if (c.page >= 2) form_->Press(I::cmdWeiter);
    if (c.page == 5) {
      form_->bRepairDone = true;  // after the repair, Cancel leads to the finish page
      form_->Press(I::cmdAbbrechen);
    }
    if (c.page == 0) {
      PostDrop(form_->hwnd(), {L"C:\\first.mdb"});
      Pump(100);
    }
    PostDrop(c.page == 0 ? Check()->hwnd() : form_->hwnd(), c.paths, c.wide);
    Pump(150);
    ASSERT_NE(Check(), nullptr);
    EXPECT_EQ(form_->iStep, std::max(c.page, 1));
    EXPECT_EQ(GetWindow(Check()->hwnd(), GW_OWNER), form_->hwnd());
    EXPECT_EQ(TextOf(Item(W::kDatabasePath)), c.database);
    EXPECT_EQ(TextOf(Item(W::kProgramPath)), c.program);
    EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), c.introduction);
    EXPECT_EQ(GetFocus(), Item(W::kCheck));
    EXPECT_FALSE(Check()->Checking());
    EXPECT_EQ(hanging_.calls(), 0);
    form_.reset();
  }
  // Data that is no list of files says so, and fills in nothing.
  Open(hanging_.Checker());
  const HGLOBAL bogus = GlobalAlloc(GMEM_MOVEABLE, 8);
  PostMessageW(form_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(bogus), 0);
  Pump(150);
  ASSERT_NE(Check(), nullptr);
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), LoadText(IDS_DBCHECK_DROP_UNREADABLE));
  EXPECT_EQ(TextOf(Item(W::kDatabasePath)), L"");
}

// The wizard and the check's window take drops from Explorer, which runs
// without administrator rights: Windows 7 and later let them through per
// window, Vista for the whole program, XP needs nothing.
TEST_F(DatabaseCheck, BothWindowsTakeDropsFromProgramsWithFewerRights) {
  Open();
  PostDrop(form_->hwnd(), {L"C:\\Daten\\Kunden.mdb"});
  Pump(100);
  ASSERT_NE(Check(), nullptr);
  for (HWND window : {form_->hwnd(), Check()->hwnd()}) {
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(AcceptDroppedFiles(window), DropsAllowed::ForTheWindow);
  }
  {
    const PretendAbsent vista({"ChangeWindowMessageFilterEx"});
    EXPECT_EQ(AcceptDroppedFiles(form_->hwnd()), DropsAllowed::ForTheProcess);
  }
  const PretendAbsent xp({"ChangeWindowMessageFilterEx", "ChangeWindowMessageFilter"});
  EXPECT_EQ(AcceptDroppedFiles(form_->hwnd()), DropsAllowed::NotNeeded);
  // A wizard made there takes drops all the same.
  Open();
  EXPECT_TRUE(GetWindowLongW(form_->hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  PostDrop(form_->hwnd(), {L"C:\\Daten\\Kunden.mdb"});
  Pump(100);
  ASSERT_NE(Check(), nullptr);
  EXPECT_EQ(TextOf(Item(W::kDatabasePath)), L"C:\\Daten\\Kunden.mdb");
}

// The version page's link asks for the file and checks it at once; the
// window's buttons ask again, the program's for a program.
TEST_F(DatabaseCheck, TheOpenDialogChoosesTheFilesAndStartsTheCheck) {
  UserFolder folder(L"MdacDbDialog");
  const std::wstring database = folder.Write(L"Kunden.mdb", CraftedDatabase{}.Bytes());
  const std::wstring program = folder.Write(L"Kasse.exe", CraftedProgram{}.Bytes());
  const auto before = folder.Snapshot();
  Open();
  form_->Press(I::cmdWeiter);
  ASSERT_TRUE(Shown(form_->Control(I::lblCheckDatabase)));
  {
    // Without the platform's dialog the link does nothing.
    const PretendAbsent damaged({"GetOpenFileNameW"});
    SendMessageW(form_->Control(I::lblCheckDatabase), BM_CLICK, 0, 0);
    EXPECT_EQ(Check(), nullptr);
  }
  {
    FileDialogCatcher cancel({L""});
    SendMessageW(form_->Control(I::lblCheckDatabase), BM_CLICK, 0, 0);
    EXPECT_EQ(cancel.titles(), std::vector<std::wstring>{LoadText(IDS_DBCHECK_OPEN_DATABASE)});
    EXPECT_EQ(Check(), nullptr) << "a cancelled dialog opens nothing";
  }
  {
    FileDialogCatcher choose({database});
    SendMessageW(form_->Control(I::lblCheckDatabase), BM_CLICK, 0, 0);
    ASSERT_NE(Check(), nullptr);
    EXPECT_EQ(TextOf(Item(W::kDatabasePath)), database);
    ASSERT_TRUE(Done());
    EXPECT_EQ(Check()->Text(), CheckSays(database, L""));
  }
  {
    // The program's button, by its mnemonic.
    FileDialogCatcher choose({program});
    SetFocus(Item(W::kDatabasePath));
    UserInput::Chord({VK_MENU, Mnemonic(IDS_DBCHECK_CHOOSE_PROGRAM)});
    ASSERT_TRUE(PumpUntil([&] { return !choose.titles().empty() && !Check()->Checking(); }));
    EXPECT_EQ(choose.titles(), std::vector<std::wstring>{LoadText(IDS_DBCHECK_OPEN_PROGRAM)});
    EXPECT_EQ(TextOf(Item(W::kProgramPath)), program);
    EXPECT_EQ(Check()->Text(), CheckSays(database, program));
  }
  {
    // The wizard closed from outside while the window's dialog is open: the
    // window goes with it, and the dialog's answer finds nothing to fill.
    FileDialogCatcher choose({database});
    choose.OnDialog([&] { SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0); });
    SendMessageW(Item(W::kChooseDatabase), BM_CLICK, 0, 0);
    EXPECT_EQ(choose.titles().size(), 1u);
    EXPECT_EQ(form_->hwnd(), nullptr);
    EXPECT_EQ(Check(), nullptr);
  }
  EXPECT_EQ(folder.Snapshot(), before);
}

// For each kind of file, folder and program, the window's rows and copied
// text are /check's sentences, and the files are left as they were.
TEST_F(DatabaseCheck, ItSaysWhatCheckSaysForEachKindOfFile) {
  UserFolder folder(L"MdacDbKinds");
  CraftedDatabase ace12, cut, secret;
  ace12.version = 0x02;
  ace12.signature = "Standard ACE DB";
  cut.lengthChange = -100;
  secret.password = u"geheim";
  CraftedProgram anyCpu;
  anyCpu.dotnet = true;
  const std::wstring jet4 = folder.Write(L"Kunden.mdb", CraftedDatabase{}.Bytes());
  folder.Write(L"Kunden.ldb", LockEntry("PC-ACCOUNTING", "Admin"));
  const WineShare share;
  if (share.available()) share.folder().Write(L"Kunden.accdb", ace12.Bytes());
  const struct {
    std::wstring database, program;
  } cases[] = {
      {jet4, folder.Write(L"Kasse.exe", CraftedProgram{}.Bytes())},
      {folder.Write(L"Neu.accdb", ace12.Bytes()), folder.Write(L"Net.exe", anyCpu.Bytes())},
      {folder.Write(L"Kaputt.mdb", cut.Bytes()), L""},
      {folder.Write(L"Geheim.mdb", secret.Bytes()), L""},
      {folder.Write(L"Liesmich.mdb", std::string("Dies ist keine Datenbank.")), L""},
      {folder.Write(L"Leer.mdb", std::string()), folder.Write(L"Liesmich.exe", std::string("MZ"))},
      {folder / L"Fehlt.mdb", folder / L"Fehlt.exe"},
      {folder.path(), L""},
      {UnusedDrive() + L"\\Daten\\Kunden.mdb", L""},
      {share.available() ? share.Unc() + L"\\Kunden.accdb" : jet4, L""},
      {L"", folder / L"Net.exe"},
  };
  const auto before = folder.Snapshot();
  Open();
  PostDrop(form_->hwnd(), {jet4});
  Pump(100);
  ASSERT_NE(Check(), nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.database + L" " + c.program));
    SetWindowTextW(Item(W::kDatabasePath), (L" \"" + c.database + L"\" ").c_str());
    SetWindowTextW(Item(W::kProgramPath), c.program.c_str());
    SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0);
    ASSERT_TRUE(Done());
    const std::wstring says = CheckSays(c.database, c.program);
    EXPECT_EQ(Check()->Text(), says);
    // Each row is one of its sentences, in its order.
    std::size_t at = 0;
    for (const std::wstring& row : Findings()) {
      at = says.find(L"\r\n- " + row + L"\r\n", at);
      EXPECT_NE(at, std::wstring::npos) << ToUtf8(row);
    }
    EXPECT_FALSE(Findings().empty());
  }
  // The missing drive's sentence asks for the share's own path.
  SetWindowTextW(Item(W::kDatabasePath), (UnusedDrive() + L"\\Daten\\Kunden.mdb").c_str());
  SetWindowTextW(Item(W::kProgramPath), L"");
  SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0);
  ASSERT_TRUE(Done());
  EXPECT_EQ(Findings(), std::vector<std::wstring>{
                            FormatPlaceholders(LoadText(IDS_CHECK_NO_DRIVE), {UnusedDrive()})});
  EXPECT_EQ(folder.Snapshot(), before);
}

}  // namespace

namespace {

// Keys and clicks as a user makes them: Tab goes round the fields and the
// buttons, the mnemonics reach the fields, Enter checks, Esc closes, Ctrl+C
// copies everything (in a field with a selection, the selection).
TEST_F(DatabaseCheck, TheKeyboardAndTheMouseWorkTheWindow) {
  UserFolder folder(L"MdacDbKeys");
  const std::wstring database = folder.Write(L"Kunden.mdb", CraftedDatabase{}.Bytes());
  Open();
  PostDrop(form_->hwnd(), {folder / L"Other.mdb"});
  Pump(150);
  ASSERT_NE(Check(), nullptr);
  ASSERT_EQ(GetForegroundWindow(), Check()->hwnd());
  // The mnemonic of the field's label, then the path typed over what is there.
  UserInput::Chord({VK_MENU, Mnemonic(IDS_DBCHECK_DATABASE_LABEL)});
  Pump(80);
  ASSERT_EQ(GetFocus(), Item(W::kDatabasePath));
  SendMessageW(Item(W::kDatabasePath), EM_SETSEL, 0, -1);
  for (wchar_t c : database) UserInput::Character(c);
  Pump(100);
  EXPECT_EQ(TextOf(Item(W::kDatabasePath)), database);
  // Enter in the field presses Check, the default button.
  Key(VK_RETURN);
  ASSERT_TRUE(Done());
  EXPECT_EQ(Check()->Text(), CheckSays(database, L""));
  // Tab goes round the fields, the buttons, the list, the text and back.
  SetFocus(Item(W::kDatabasePath));
  std::vector<HWND> round;
  for (int i = 0; i < 9; ++i) {
    Key(VK_TAB);
    round.push_back(GetFocus());
  }
  const int order[] = {W::kChooseDatabase,    W::kProgramPath,
                       W::kChooseProgram,     W::kCheck,
                       FindingsWindow::kList, FindingsWindow::kDetails,
                       FindingsWindow::kCopy, FindingsWindow::kClose,
                       W::kDatabasePath};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(round[i], Item(order[i])) << i;
  // Ctrl+C in the list copies all of it; in a field with a selection, that.
  SetFocus(Item(FindingsWindow::kList));
  UserInput::ClearClipboard();
  UserInput::Chord({VK_CONTROL, 'C'});
  Pump(100);
  EXPECT_EQ(UserInput::WaitForClipboardText(), Check()->Text());
  SetFocus(Item(W::kDatabasePath));
  SendMessageW(Item(W::kDatabasePath), EM_SETSEL, 0, 2);
  UserInput::ClearClipboard();
  UserInput::Chord({VK_CONTROL, 'C'});
  Pump(100);
  EXPECT_EQ(UserInput::WaitForClipboardText(), database.substr(0, 2));
  // Another file by the mouse: the field emptied, the button clicked; a
  // path that changes forgets what was found.
  SetWindowTextW(Item(W::kDatabasePath), (folder / L"Fehlt.mdb").c_str());
  EXPECT_TRUE(Findings().empty());
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), LoadText(IDS_DBCHECK_READY));
  UserInput::Click(Item(W::kCheck), {5, 5});
  Pump(50);
  ASSERT_TRUE(Done());
  EXPECT_EQ(Findings(), std::vector<std::wstring>{LoadText(IDS_CHECK_MISSING)});
  // The row to mend carries the problem mark; Esc closes the window.
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  ListView_GetItem(Item(FindingsWindow::kList), &item);
  EXPECT_EQ(item.iImage, 0);
  Key(VK_ESCAPE);
  EXPECT_EQ(Check(), nullptr);
  // Nothing given: the window asks for a path and checks nothing.
  PostDrop(form_->hwnd(), {database});
  Pump(150);
  SetWindowTextW(Item(W::kDatabasePath), L"  ");
  UserInput::Click(Item(W::kCheck), {5, 5});
  Pump(100);
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), LoadText(IDS_DBCHECK_NO_PATH));
  EXPECT_EQ(GetFocus(), Item(W::kDatabasePath));
}

// How long `window` takes to answer WM_NULL sent from another thread, while
// this thread runs its messages.
std::chrono::milliseconds AnswerTime(HWND window, const std::function<void(int)>& pump) {
  std::atomic<long long> took{-1};
  std::thread asker([&] {
    const auto start = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result))
      took = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start)
                 .count();
  });
  for (int i = 0; i < 100 && took < 0; ++i) pump(10);
  asker.join();
  return std::chrono::milliseconds(took < 0 ? 10000 : took.load());
}

template <typename Action>
std::chrono::milliseconds Timed(Action action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

// A check of a file whose source does not answer runs beside the window:
// the window answers within 100 ms, a changed path or a closed window
// forgets it without waiting, and its late result is dropped.
TEST_F(DatabaseCheck, TheWindowAnswersWhileACheckHangs) {
  constexpr auto kAnswer = std::chrono::milliseconds(100);
  Open(hanging_.Checker());
  const auto pump = [&](int ms) { Pump(ms); };
  PostDrop(form_->hwnd(), {L"\\\\gone\\share\\Kunden.mdb"});
  Pump(100);
  ASSERT_NE(Check(), nullptr);
  EXPECT_LT(Timed([&] { SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0); }), kAnswer);
  ASSERT_TRUE(PumpUntil([&] { return hanging_.calls() == 1; }));
  EXPECT_NE(hanging_.thread(), GetCurrentThreadId());
  EXPECT_TRUE(Check()->Checking());
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), LoadText(IDS_DBCHECK_RUNNING));
  EXPECT_LT(AnswerTime(Check()->hwnd(), pump), kAnswer);
  EXPECT_LT(AnswerTime(form_->hwnd(), pump), kAnswer);
  // Another path while it hangs: the first check is no longer wanted.
  SetWindowTextW(Item(W::kDatabasePath), L"C:\\Daten\\Kunden.mdb");
  EXPECT_FALSE(Check()->Checking());
  hanging_.Release();
  ASSERT_TRUE(PumpUntil([&] { return hanging_.finished() == 1; }));
  Pump(100);
  EXPECT_TRUE(Findings().empty()) << "the late result was shown";
  EXPECT_EQ(TextOf(Item(FindingsWindow::kIntroduction)), LoadText(IDS_DBCHECK_READY));
  // Closing the window, and then the wizard, while checks hang waits for none.
  HangingSource second;
  Open(second.Checker());
  PostDrop(form_->hwnd(), {L"\\\\gone\\share\\Kunden.mdb"});
  Pump(100);
  SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return second.calls() == 1; }));
  EXPECT_LT(Timed([&] { SendMessageW(Check()->hwnd(), WM_COMMAND, IDCANCEL, 0); }), kAnswer);
  EXPECT_EQ(Check(), nullptr);
  PostDrop(form_->hwnd(), {L"\\\\gone\\share\\Kunden.mdb"});
  Pump(100);
  SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return second.calls() == 2; }));
  EXPECT_LT(Timed([&] { form_->Press(I::cmdAbbrechen); }), kAnswer);
  EXPECT_EQ(form_->hwnd(), nullptr);
  EXPECT_LT(Timed([&] { form_.reset(); }), kAnswer);
  second.Release();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (second.finished() < 2 && std::chrono::steady_clock::now() < end) Sleep(10);
  EXPECT_EQ(second.finished(), 2);
  Sleep(50);  // the threads post to windows that are gone
}

// Every control of the window whole and apart, at the screen's DPI, in the
// language of the run, with findings shown.
TEST_F(DatabaseCheck, TheWindowFitsItsTexts) {
  Open();
  PostDrop(form_->hwnd(), {L"C:\\Daten\\Kunden.mdb", L"C:\\Kasse\\Kasse.exe"});
  Pump(100);
  ASSERT_NE(Check(), nullptr);
  const int ids[] = {W::kDatabaseLabel,
                     W::kDatabasePath,
                     W::kChooseDatabase,
                     W::kProgramLabel,
                     W::kProgramPath,
                     W::kChooseProgram,
                     W::kCheck,
                     FindingsWindow::kIntroduction,
                     FindingsWindow::kList,
                     FindingsWindow::kDetails,
                     FindingsWindow::kCopy,
                     FindingsWindow::kClose};
  const auto expectFits = [&] {
    RECT client;
    GetClientRect(Check()->hwnd(), &client);
    for (int id : ids) {
      SCOPED_TRACE(id);
      const RECT r = PlaceOf(Item(id));
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.right, client.right);
      EXPECT_LE(r.bottom, client.bottom);
      wchar_t cls[16] = {};
      GetClassNameW(Item(id), cls, 16);
      const bool wraps = id == FindingsWindow::kIntroduction;
      if (std::wstring(cls) != L"Button" && std::wstring(cls) != L"Static") continue;
      const SIZE text = TextExtent(Item(id), wraps ? r.right - r.left : 0);
      if (!wraps) {
        EXPECT_GE(r.right - r.left, text.cx) << "the text is cut";
      }
      EXPECT_GE(r.bottom - r.top, text.cy) << "the text is cut";
    }
    for (std::size_t a = 0; a < std::size(ids); ++a)
      for (std::size_t b = a + 1; b < std::size(ids); ++b) {
        RECT both;
        const RECT first = PlaceOf(Item(ids[a])), second = PlaceOf(Item(ids[b]));
        EXPECT_FALSE(IntersectRect(&both, &first, &second)) << ids[a] << " and " << ids[b];
      }
  };
  // With the longest introduction, and with findings.
  expectFits();
  SendMessageW(Item(W::kCheck), BM_CLICK, 0, 0);
  ASSERT_TRUE(Done());
  expectFits();
  // The file's column shows its cells whole, after the room for the mark.
  const HWND list = Item(FindingsWindow::kList);
  for (int heading : {IDS_CHECK_DATABASE_HEADER, IDS_CHECK_PROGRAM_HEADER})
    EXPECT_GT(
        ListView_GetColumnWidth(list, 0),
        ListView_GetStringWidth(list, LoadText(heading).c_str()) + MulDiv(16, form_->dpi(), 96));
  // The list has room for its rows.
  EXPECT_GE(ListView_GetCountPerPage(Item(FindingsWindow::kList)), 5);
}

}  // namespace
