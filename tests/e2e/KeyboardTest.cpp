// The real program driven by the keyboard alone: key presses made with
// SendInput, so that the platform itself makes the key and character
// messages and hands them to the program's own message loop, as it does for
// a user. Runs in the cell that sets MDAC_CELL_KEYBOARD; skipped elsewhere.
#include <gtest/gtest.h>
#include <windows.h>
// tlhelp32.h needs the types of windows.h.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "AccessStandIns.h"
#include "InstalledComponents.h"
#include "LoadText.h"
#include "RemoteWizard.h"
#include "TestPaths.h"
#include "TextIds.h"
#include "UniqueHandle.h"
#include "UserInput.h"
#include "WizardTestSupport.h"

namespace {

using I = ControlId;

using UserInput::KeyInput;

// A user at the keyboard of the wizard's window.
class User {
 public:
  explicit User(RemoteWizard& wizard) : wizard_(wizard) {
    DWORD pid = 0;
    thread_ = GetWindowThreadProcessId(wizard.window(), &pid);
    process_.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
    // Keys go to the foreground window; the wizard takes it when it opens,
    // and handles its activation once it is back in its loop.
    wizard.WaitUntil([&] { return GetForegroundWindow() == wizard.window(); });
    Settle();
  }

  bool HasForeground() const { return GetForegroundWindow() == wizard_.window(); }

  void Press(WORD vk, bool shift = false) {
    UserInput::Key(vk, shift);
    Settle();
  }

  // A character, whatever the keyboard layout.
  void Type(wchar_t ch) {
    UserInput::Character(ch);
    Settle();
  }

  // Alt+F4. Held: Alt stays down long enough for the key-watch to see it.
  void AltF4(bool held) {
    SendInput(1, std::vector<INPUT>{KeyInput(VK_MENU, false)}.data(), sizeof(INPUT));
    if (held) Sleep(300);
    INPUT rest[3] = {KeyInput(VK_F4, false), KeyInput(VK_F4, true), KeyInput(VK_MENU, true)};
    SendInput(3, rest, sizeof(INPUT));
    Settle();
  }

  // Types letters and checks after each that the window still answers
  // within a second (a window caught in an endless search does not).
  void TypeLetters(const std::wstring& letters) {
    for (wchar_t ch : letters) {
      Type(ch);
      if (!Answers()) {
        ADD_FAILURE() << "no answer within a second after typing " << static_cast<int>(ch);
        return;
      }
    }
  }

  bool Answers() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(wizard_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000,
                               &result) != 0;
  }

  // The control with the focus, by its name in the control table.
  std::string Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread_, &info) || !info.hwndFocus) return "nothing";
    if (info.hwndFocus == wizard_.window()) return "the frame";
    const auto id = static_cast<ControlId>(GetDlgCtrlID(info.hwndFocus));
    if (!SpecOf(id)) return "another window";
    return Name(id);
  }

  static std::string Name(ControlId id) {
    const std::wstring name = SpecOf(id)->name;
    return std::string(name.begin(), name.end());
  }

  bool WaitPage(int page) const {
    return wizard_.WaitUntil([&] { return wizard_.Page() == page; });
  }

  // The exit code once the program has ended; 999 while it runs.
  DWORD ExitCode(int milliseconds = 5000) const {
    DWORD code = 999;
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0)
      GetExitCodeProcess(process_.get(), &code);
    return code;
  }

 private:
  // The keys are taken from the queue by the program's own loop. A sent
  // message is answered before queued input is read, so the second answer
  // comes only once the loop has been back for the keys as well.
  void Settle() const {
    Sleep(80);
    Answers();
    Answers();
  }

  RemoteWizard& wizard_;
  DWORD thread_ = 0;
  UniqueKernelHandle process_;
};

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("MDAC_CELL_KEYBOARD")) GTEST_SKIP() << "runs in the keyboard cell";
    Registrations::Clear();
  }
  void TearDown() override { Registrations::Clear(); }

  // Enter twice, from the welcome page over the version page.
  static void EnterToTheRepairPage(User& user) {
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(2));
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(3));
  }

  // Runs the repair from the focused repair button and waits for its end.
  static void RepairByKeyboard(RemoteWizard& wizard, User& user) {
    ASSERT_EQ(user.Focus(), User::Name(I::cmdRepairMDAC));
    user.Press(VK_RETURN);
    ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.Visible(I::optResolved); }, 30000))
        << "the repair did not finish";
    // The options show before the buttons come back and Next takes the focus.
    wizard.WaitUntil([&] { return user.Focus() == User::Name(I::cmdWeiter); }, 3000);
    EXPECT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  }

  InstalledMdac mdac_{L"2.81.1117.0"};
  InstalledJet jet_{L"ver_4_0_9025_0.dll"};
  InstalledComponents components_{std::map<std::wstring, std::wstring>{}};
};

TEST_F(Keyboard, FromTheWelcomePageToTheFinishAndOut) {
  RemoteWizard wizard(ProgramPath());
  ASSERT_NE(wizard.window(), nullptr);
  User user(wizard);
  ASSERT_TRUE(user.HasForeground());

  // Welcome: the focus on Next; Tab goes round Next and Cancel.
  EXPECT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  user.TypeLetters(L"hallo");
  user.Press(VK_TAB);
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  user.Press(VK_TAB, true);
  EXPECT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  EXPECT_EQ(wizard.Page(), 1);

  // Enter for Next; Back by the keyboard, and Enter forward again.
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(2));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  user.TypeLetters(L"xq\u00e4");
  user.Press(VK_TAB, true);
  ASSERT_EQ(user.Focus(), User::Name(I::cmdZurück));
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(1));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(2));

  // Space presses the focused Next: the repair page, with the focus on the
  // repair button; Tab and Shift+Tab go round it, Back and Cancel.
  ASSERT_EQ(user.Focus(), User::Name(I::cmdWeiter));
  user.Press(VK_SPACE);
  ASSERT_TRUE(user.WaitPage(3));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdRepairMDAC));
  user.TypeLetters(L"rz");
  std::vector<std::string> round;
  for (int i = 0; i < 3; ++i) {
    user.Press(VK_TAB);
    round.push_back(user.Focus());
  }
  EXPECT_EQ(round, (std::vector<std::string>{User::Name(I::cmdZurück), User::Name(I::cmdAbbrechen),
                                             User::Name(I::cmdRepairMDAC)}));
  user.Press(VK_TAB, true);
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  user.Press(VK_TAB);

  // Enter presses the focused repair button, not the disabled Next.
  RepairByKeyboard(wizard, user);
  EXPECT_EQ(Registrations::Order().size(), 24u);

  // The options by the arrow keys; Enter on an option presses Next.
  user.Press(VK_TAB);
  user.Press(VK_TAB);
  ASSERT_EQ(user.Focus(), User::Name(I::optResolved));
  user.Press(VK_DOWN);
  EXPECT_EQ(user.Focus(), User::Name(I::optFurtherProblems));
  user.TypeLetters(L"n");
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(4));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  // The option that had the focus lies on the covered page now.
  user.TypeLetters(L"abcdefghijklmnopqrstuvwxyz\u00fc\u00df");
  user.Press(VK_TAB, true);
  EXPECT_EQ(user.Focus(), User::Name(I::cmdZurück));
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(3));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdZurück));
  user.Press(VK_TAB, true);
  ASSERT_EQ(user.Focus(), User::Name(I::optFurtherProblems));
  user.Press(VK_UP);
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(5));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  user.TypeLetters(L"ende");
  for (WORD vk : {VK_TAB, VK_LEFT, VK_DOWN}) user.Press(vk);
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  EXPECT_EQ(wizard.Page(), 5);

  user.Press(VK_ESCAPE);
  EXPECT_EQ(user.ExitCode(), 0u);
}

TEST_F(Keyboard, AltF4ActsAsCancelOnTheFirstPages) {
  {
    RemoteWizard wizard(ProgramPath());
    User user(wizard);
    user.AltF4(false);
    EXPECT_EQ(user.ExitCode(), 0u) << "welcome page";
  }
  {
    RemoteWizard wizard(ProgramPath());
    User user(wizard);
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(2));
    user.AltF4(false);
    EXPECT_EQ(user.ExitCode(), 0u) << "version page";
  }
  {
    // The repair page: within the key-watch's first 700 ms Alt+F4 does
    // nothing; afterwards Alt, itself a key the watch sees, lets it close.
    RemoteWizard wizard(ProgramPath());
    User user(wizard);
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(2));
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(3));
    user.AltF4(false);
    EXPECT_EQ(user.ExitCode(300), 999u) << "closed within the key-watch's first 700 ms";
    EXPECT_EQ(wizard.Page(), 3);
    EXPECT_EQ(user.Focus(), User::Name(I::cmdRepairMDAC));
    Sleep(700);
    user.AltF4(true);
    EXPECT_EQ(user.ExitCode(), 0u) << "repair page";
  }
}

TEST_F(Keyboard, AltF4AfterARepairLeadsToTheFinishThenCloses) {
  RemoteWizard wizard(ProgramPath());
  User user(wizard);
  ASSERT_NO_FATAL_FAILURE(EnterToTheRepairPage(user));
  RepairByKeyboard(wizard, user);
  user.Press(VK_TAB);
  user.Press(VK_TAB);
  user.Press(VK_DOWN);
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(4));
  user.AltF4(false);
  ASSERT_TRUE(user.WaitPage(5));
  EXPECT_EQ(user.Focus(), User::Name(I::cmdAbbrechen));
  user.AltF4(false);
  EXPECT_EQ(user.ExitCode(), 0u);
}

// A close from outside (the task manager, taskkill without /F, another
// program) is no close box: it is allowed.
TEST_F(Keyboard, ACloseFromOutsideOnTheRepairPageWhileTheKeyWatchRuns) {
  RemoteWizard wizard(ProgramPath());
  User user(wizard);
  ASSERT_NO_FATAL_FAILURE(EnterToTheRepairPage(user));
  PostMessageW(wizard.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(user.ExitCode(), 0u);
}

TEST_F(Keyboard, ACloseFromOutsideAfterARepairCloses) {
  RemoteWizard wizard(ProgramPath());
  User user(wizard);
  ASSERT_NO_FATAL_FAILURE(EnterToTheRepairPage(user));
  RepairByKeyboard(wizard, user);
  PostMessageW(wizard.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(user.ExitCode(), 0u);
}

TEST_F(Keyboard, ACloseFromOutsideDuringTheRepairStopsAfterTheEntryInHand) {
  RemoteWizard wizard(ProgramPath());
  User user(wizard);
  ASSERT_NO_FATAL_FAILURE(EnterToTheRepairPage(user));
  user.Press(VK_RETURN);
  ASSERT_TRUE(wizard.WaitUntil([&] { return wizard.ProgressPosition() >= 5; }, 20000));
  // The bar counts the entries done; the one after them is in hand.
  const auto before = static_cast<std::size_t>(wizard.ProgressPosition());
  PostMessageW(wizard.window(), WM_CLOSE, 0, 0);
  // (Read again in case the run moved on meanwhile; 0 once the window is gone.)
  const auto inHandIndex = std::max(before, static_cast<std::size_t>(wizard.ProgressPosition()));
  EXPECT_EQ(user.ExitCode(), 0u);
  std::size_t done = 0, inHand = 0;
  const auto catalogue = ComponentCatalogue();
  for (std::size_t i = 0; i < catalogue.size() && i <= inHandIndex; ++i) {
    if (catalogue[i].noRegister) continue;
    if (i < before) ++done;
    ++inHand;
  }
  const std::size_t called = Registrations::Order().size();
  EXPECT_GE(called, done);
  EXPECT_LE(called, inHand);
  EXPECT_LT(called, 24u);
}

// The helpers of the access test that the wizard `pid` has running now.
std::vector<DWORD> AccessHelpersOf(DWORD pid) {
  std::vector<DWORD> helpers;
  UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ParentProcessID == pid && _wcsicmp(entry.szExeFile, L"MdacRepair.exe") == 0)
      helpers.push_back(entry.th32ProcessID);
  return helpers;
}

// Whether the window answers a message within a short time.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result) != 0;
}

TEST_F(Keyboard, TheVersionPageAnswersWhileTheAccessTestHangs) {
  AccessStandIns standIns({L"hang-roundtrip"});
  RemoteWizard wizard(ProgramPath());
  ASSERT_NE(wizard.window(), nullptr);
  User user(wizard);
  DWORD pid = 0;
  GetWindowThreadProcessId(wizard.window(), &pid);

  // Enter for Next: the page shows at once, the test under way behind it.
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(2));
  EXPECT_EQ(wizard.Text(I::lblAccessTest), LoadText(IDS_ACCESS_RUNNING));
  ASSERT_TRUE(wizard.WaitUntil([&] { return AccessHelpersOf(pid).size() == 1; }, 3000));
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(Answers(wizard.window()));
    Sleep(50);
  }
  // Back and Next work meanwhile; leaving the page ends the test.
  user.Press(VK_TAB, true);
  ASSERT_EQ(user.Focus(), User::Name(I::cmdZurück));
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(1));
  EXPECT_TRUE(wizard.WaitUntil([&] { return AccessHelpersOf(pid).empty(); }, 3000));
  EXPECT_TRUE(AccessScratchFolders().empty());
  // Shown again: tested again; closing the window ends that test too.
  user.Press(VK_RETURN);
  ASSERT_TRUE(user.WaitPage(2));
  ASSERT_TRUE(wizard.WaitUntil([&] { return AccessHelpersOf(pid).size() == 1; }, 3000));
  EXPECT_TRUE(Answers(wizard.window()));
  const std::vector<DWORD> helpers = AccessHelpersOf(pid);
  user.Press(VK_ESCAPE);
  EXPECT_EQ(user.ExitCode(), 0u);
  for (DWORD helper : helpers) {
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, helper));
    EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 2000) == WAIT_OBJECT_0);
  }
  EXPECT_TRUE(AccessScratchFolders().empty());
}

// A component that hangs while the database is made: Back, Esc and the close
// box on the version page each leave the page at once, the window answering
// within 100 ms at every step, and nothing of the helpers is left once the
// window has closed.
TEST_F(Keyboard, TheVersionPageNeverWaitsForAHelperThatHangs) {
  AccessStandIns standIns({L"hang-create"});
  for (const bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "the close box" : "Esc");
    RemoteWizard wizard(ProgramPath());
    ASSERT_NE(wizard.window(), nullptr);
    User user(wizard);
    DWORD pid = 0;
    GetWindowThreadProcessId(wizard.window(), &pid);
    // Right after each input, and for a while after it, the window answers
    // within 100 ms, until it is gone.
    const auto keepsAnswering = [&](const char* step) {
      for (int i = 0; i < 8; ++i) {
        Sleep(30);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(wizard.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result)) {
          EXPECT_FALSE(IsWindow(wizard.window())) << "no answer within 100 ms after " << step;
          return;
        }
      }
    };
    user.Press(VK_RETURN);
    ASSERT_TRUE(user.WaitPage(2));
    ASSERT_TRUE(wizard.WaitUntil([&] { return AccessHelpersOf(pid).size() == 1; }, 3000));
    Sleep(300);  // into the step that hangs
    RECT back{};
    GetWindowRect(wizard.Control(I::cmdZurück), &back);
    UserInput::ClickOnScreen({(back.left + back.right) / 2, (back.top + back.bottom) / 2});
    keepsAnswering("Back");
    ASSERT_TRUE(user.WaitPage(1));
    user.Press(VK_RETURN);
    keepsAnswering("Next");
    ASSERT_TRUE(user.WaitPage(2));
    ASSERT_TRUE(wizard.WaitUntil([&] { return AccessHelpersOf(pid).size() == 1; }, 3000));
    Sleep(300);
    const std::vector<DWORD> helpers = AccessHelpersOf(pid);
    if (closeBox) {
      const POINT box = UserInput::CloseBoxOf(wizard.window());
      ASSERT_NE(box.x, -1) << "no close box";
      UserInput::ClickOnScreen(box);
    } else {
      UserInput::Key(VK_ESCAPE);
    }
    keepsAnswering(closeBox ? "the close box" : "Esc");
    EXPECT_EQ(user.ExitCode(), 0u);
    for (DWORD helper : helpers) {
      UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, helper));
      EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0);
    }
    EXPECT_TRUE(AccessHelpersOf(pid).empty());
    EXPECT_TRUE(AccessScratchFolders().empty());
  }
}

}  // namespace
