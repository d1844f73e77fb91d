#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "ComponentFixtures.h"
#include "ComponentRegistrar.h"
#include "FilledText.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "RegistrationHelper.h"
#include "RegistrationReport.h"
#include "TextIds.h"
#include "WizardTestSupport.h"
#include "modDLLRegister.h"
#include "modFunctionDelegator.h"

namespace {

HRESULT WINAPI ReturnsZero() { return S_OK; }
HRESULT WINAPI ReturnsFail() { return E_FAIL; }

// A routine handed over as GetProcAddress would hand it.
FARPROC AsEntry(HRESULT(WINAPI* routine)()) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(routine));
}

TEST(CallObject, ForwardsTheResultUnchanged) {
  for (auto [routine, expected] :
       {std::pair{&ReturnsZero, S_OK}, std::pair{&ReturnsFail, E_FAIL}}) {
    IUnknown* object = CreateDelegator(AsEntry(routine));
    IDelegatedCall* call = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDelegatedCall, reinterpret_cast<void**>(&call)), S_OK);
    EXPECT_EQ(call->Call(), expected);
    EXPECT_EQ(call->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
  }
}

TEST(CallObject, AnswersTheFirstInterfaceRequestOnly) {
  IUnknown* object = CreateDelegator(AsEntry(&ReturnsZero));
  void* first = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, &first), S_OK);  // any interface, once
  EXPECT_EQ(first, static_cast<void*>(object));
  void* second = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->QueryInterface(IID_IDelegatedCall, &second), E_NOINTERFACE);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(object->Release(), 1u);  // the reference the answer added
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(object->Release(), 0u);
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { Registrations::Clear(); }
  void TearDown() override { Registrations::Clear(); }
  // Registers a copy of a stand-in under a name of its own.
  std::wstring Install(const wchar_t* fixture, const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    CopyFileW(FixturePath(fixture).c_str(), path.c_str(), FALSE);
    return path;
  }
  MessageBoxCatcher boxes_;
};

TEST_F(Registration, SuccessIsSilentAndSFalseIsSuccess) {
  const std::wstring ok = Install(L"component_2_81.dll", L"mdac_ok.dll");
  const std::wstring sFalse = Install(L"component_2_81.dll", L"mdac_sfalse.dll");
  Registrations::Answer(L"mdac_sfalse.dll", S_FALSE);
  RegisterComponent(nullptr, ok, "DllRegisterServer", L"mdac_ok.dll");
  RegisterComponent(nullptr, sFalse, "DllRegisterServer", L"mdac_sfalse.dll");
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"mdac_ok.dll", L"mdac_sfalse.dll"}));
  // The file is freed again.
  EXPECT_EQ(GetModuleHandleW(ok.c_str()), nullptr);
}

TEST_F(Registration, AFailingOrMissingEntryIsReportedWithText141) {
  const std::wstring failing = Install(L"component_2_81.dll", L"mdac_fails.dll");
  Registrations::Answer(L"mdac_fails.dll", E_FAIL);
  const std::wstring noEntry = Install(L"component_no_entry.dll", L"mdac_noentry.dll");
  RegisterComponent(nullptr, failing, "DllRegisterServer", L"Shown Name.dll");
  RegisterComponent(nullptr, noEntry, "DllRegisterServer", L"mdac_noentry.dll");
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  EXPECT_EQ(boxes_.boxes()[0].text, Filled(IDS_REGISTER_PROBLEM, L"Shown Name.dll"));
  EXPECT_EQ(boxes_.boxes()[1].text, Filled(IDS_REGISTER_PROBLEM, L"mdac_noentry.dll"));
  for (const auto& box : boxes_.boxes()) {
    EXPECT_EQ(box.title, LoadText(IDS_CAPTION));
    EXPECT_EQ(box.icon, UINT{MB_ICONINFORMATION});
    EXPECT_EQ(box.buttons, kOkButtonOnly);
  }
  EXPECT_EQ(Registrations::Order(), (std::vector<std::wstring>{L"mdac_fails.dll"}));
  EXPECT_EQ(GetModuleHandleW(failing.c_str()), nullptr);
}

TEST_F(Registration, AFileThatCannotBeLoadedIsReportedWithTheSystemsReason) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring text = std::wstring(temp) + L"mdac_text.dll";  // not a library
  std::ofstream(std::filesystem::path(text)) << "not a library";
  RegisterComponent(nullptr, L"C:\\does\\not\\exist\\MSADO15.DLL", "DllRegisterServer",
                    L"MSADO15.DLL");
  RegisterComponent(nullptr, text, "DllRegisterServer", L"mdac_text.dll");
  RegisterComponent(nullptr, LoadText(IDS_NOT_AVAILABLE), "DllRegisterServer",
                    LoadText(IDS_NOT_AVAILABLE));
  ASSERT_EQ(boxes_.boxes().size(), 3u);
  EXPECT_EQ(boxes_.boxes()[0].text,
            Filled(IDS_LOAD_PROBLEM, L"MSADO15.DLL", GetSystemErrorText(ERROR_MOD_NOT_FOUND)));
  EXPECT_EQ(boxes_.boxes()[1].text,
            Filled(IDS_LOAD_PROBLEM, L"mdac_text.dll",
                   GetSystemErrorText(ERROR_BAD_EXE_FORMAT, L"mdac_text.dll")));
  // The system's text names the file instead of keeping its marker.
  EXPECT_EQ(boxes_.boxes()[1].text.find(L"%1"), std::wstring::npos);
  EXPECT_EQ(
      boxes_.boxes()[2].text.rfind(Filled(IDS_LOAD_PROBLEM, LoadText(IDS_NOT_AVAILABLE), L""), 0),
      0u);
  for (const auto& box : boxes_.boxes()) {
    EXPECT_EQ(box.icon, UINT{MB_ICONINFORMATION});
    EXPECT_EQ(box.buttons, kOkButtonOnly);
  }
  EXPECT_TRUE(Registrations::Order().empty());
}

// A registration helper running the real program, with stand-ins under names
// of their own in the temporary folder.
class Helper : public Registration {
 protected:
  static std::wstring HelperIdFile() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"mdac_helper_id.txt";
  }
  std::wstring Misbehaving(const wchar_t* name, HRESULT behaviour) {
    Registrations::Answer(name, behaviour);
    return Install(L"component_2_81.dll", name);
  }
  // The helper's process id once it has been started (that happens in the
  // background); 0 when it is not there within five seconds.
  static DWORD StartedId(const RegistrationHelper& helper) {
    for (int i = 0; i < 500; ++i, Sleep(10))
      if (const DWORD id = helper.ProcessId()) return id;
    return 0;
  }
};

TEST_F(Helper, OneHelperRegistersFileAfterFileAndSaysWhatHappened) {
  RegistrationHelper helper(ProgramPath());
  const std::wstring ok = Install(L"component_2_81.dll", L"mdac_ok.dll");
  const std::wstring sFalse = Misbehaving(L"mdac_sfalse.dll", S_FALSE);
  const std::wstring failing = Misbehaving(L"mdac_fails.dll", E_FAIL);
  const std::wstring noEntry = Install(L"component_no_entry.dll", L"mdac_noentry.dll");
  // A windowless process has no apartment of its own: this works only when
  // the helper initialises OLE before it calls the entry.
  const std::wstring com = Misbehaving(L"mdac_com.dll", kNeedCom);

  std::vector<RegistrationOutcome> outcomes;
  DWORD helperId = 0;
  for (const std::wstring& path :
       {ok, sFalse, failing, noEntry, com, std::wstring(L"C:\\does\\not\\exist\\MSADO15.DLL")}) {
    std::optional<RegistrationOutcome> outcome = helper.Register(path, "DllRegisterServer");
    ASSERT_TRUE(outcome.has_value()) << "no helper";
    outcomes.push_back(*outcome);
    if (!helperId) helperId = helper.ProcessId();
    EXPECT_EQ(helper.ProcessId(), helperId) << "one helper serves them all";
    EXPECT_NE(helperId, GetCurrentProcessId());
  }
  EXPECT_TRUE(outcomes[0].Succeeded());
  EXPECT_TRUE(outcomes[1].Succeeded());
  EXPECT_EQ(outcomes[1].entryResult, S_FALSE);
  EXPECT_FALSE(outcomes[2].Succeeded());
  EXPECT_EQ(outcomes[2].entryResult, E_FAIL);
  EXPECT_TRUE(outcomes[3].loaded);
  EXPECT_FALSE(outcomes[3].entryFound);
  EXPECT_EQ(outcomes[4].entryResult, S_OK) << std::hex << outcomes[4].entryResult;
  EXPECT_FALSE(outcomes[5].loaded);
  EXPECT_EQ(outcomes[5].loadError, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  for (const RegistrationOutcome& outcome : outcomes) {
    EXPECT_FALSE(outcome.crashed);
    EXPECT_FALSE(outcome.timedOut);
  }
  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"mdac_ok.dll", L"mdac_sfalse.dll", L"mdac_fails.dll",
                                       L"mdac_com.dll"}));
  EXPECT_TRUE(boxes_.boxes().empty()) << "a helper shows nothing";
  // Nothing was loaded here.
  EXPECT_EQ(GetModuleHandleW(ok.c_str()), nullptr);
}

TEST_F(Helper, AComponentThatCrashesTakesOnlyItsHelperWithIt) {
  RegistrationHelper helper(ProgramPath());
  const std::pair<const wchar_t*, HRESULT> crashing[] = {
      {L"mdac_null.dll", kWriteToNull},
      {L"mdac_foreign.dll", kRaiseForeignException},
      {L"mdac_deep.dll", kOverflowStack}};
  const DWORD expected[] = {0xC0000005, 0xE06D7363, 0xC00000FD};
  const std::wstring ok = Install(L"component_2_81.dll", L"mdac_ok.dll");
  for (std::size_t i = 0; i < std::size(crashing); ++i) {
    const std::wstring path = Misbehaving(crashing[i].first, crashing[i].second);
    std::optional<RegistrationOutcome> outcome = helper.Register(path, "DllRegisterServer");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->crashed) << crashing[i].first;
    EXPECT_EQ(outcome->exceptionCode, expected[i]) << std::hex << outcome->exceptionCode;
    EXPECT_EQ(helper.ProcessId(), 0u) << "the broken helper is gone";
    // The next file gets a new helper.
    outcome = helper.Register(ok, "DllRegisterServer");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->Succeeded());
  }
  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"mdac_null.dll", L"mdac_ok.dll", L"mdac_foreign.dll",
                                       L"mdac_ok.dll", L"mdac_deep.dll", L"mdac_ok.dll"}));
}

// A component may leave a thread behind that brings its helper down after
// the answer was given (its code unloaded under it): the helper is then gone
// while no file is in hand. The next file has had nothing done to it and must
// neither be blamed for that end nor go unregistered.
TEST_F(Helper, AHelperThatEndedBetweenFilesIsNotBlamedOnTheNextFile) {
  RegistrationHelper helper(ProgramPath());
  const std::wstring first = Install(L"component_2_81.dll", L"mdac_first.dll");
  const std::wstring next = Install(L"component_2_81.dll", L"mdac_next.dll");
  std::optional<RegistrationOutcome> outcome = helper.Register(first, "DllRegisterServer");
  ASSERT_TRUE(outcome.has_value());
  ASSERT_TRUE(outcome->Succeeded());
  {
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, helper.ProcessId()));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 0xC0000005);
    ASSERT_EQ(WaitForSingleObject(process.get(), 5000), WAIT_OBJECT_0);
  }
  outcome = helper.Register(next, "DllRegisterServer");
  ASSERT_TRUE(outcome.has_value());
  EXPECT_FALSE(outcome->crashed) << "blamed on a file it never had: 0x" << std::hex
                                 << outcome->exceptionCode;
  EXPECT_TRUE(outcome->Succeeded());
  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"mdac_first.dll", L"mdac_next.dll"}));
}

TEST_F(Helper, AComponentThatDoesNotFinishIsStoppedAtTheTimeLimit) {
  // A short limit here; the repair's own 30 seconds are waited out once, in
  // the repair test.
  RegistrationHelper helper(ProgramPath(), 1500);
  const std::wstring hang = Misbehaving(L"mdac_hang.dll", kNeverReturn);
  const std::wstring ok = Install(L"component_2_81.dll", L"mdac_ok.dll");
  helper.Start();
  const DWORD hungId = StartedId(helper);
  int pumped = 0;
  const ULONGLONG start = GetTickCount64();
  // Messages for this thread are handled while the helper works.
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  std::optional<RegistrationOutcome> outcome = helper.Register(hang, "DllRegisterServer", [&] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) pumped += msg.message == WM_APP;
    return true;
  });
  const ULONGLONG waited = GetTickCount64() - start;
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->timedOut);
  EXPECT_EQ(outcome->timeLimitMs, 1500u);
  EXPECT_FALSE(outcome->crashed);
  EXPECT_GE(waited, 1400u);
  EXPECT_LT(waited, 10000u);
  EXPECT_EQ(pumped, 1);
  // The hung helper was ended, not left behind.
  UniqueKernelHandle hung(OpenProcess(SYNCHRONIZE, FALSE, hungId));
  EXPECT_TRUE(!hung || WaitForSingleObject(hung.get(), 5000) == WAIT_OBJECT_0);
  outcome = helper.Register(ok, "DllRegisterServer");
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->Succeeded());
}

// The wizard's pump puts a quit message back for the main loop and stops
// there: from then on the thread always has input waiting. Whoever posted it
// (any program can post one to the wizard's thread), the time limit must still
// end a component that does not finish. The wait runs on a thread of its own,
// and a watchdog ends the helper if the limit never does.
TEST_F(Helper, AQuitMessageInTheQueueDoesNotSuspendTheTimeLimit) {
  RegistrationHelper helper(ProgramPath(), 1500);
  const std::wstring hang = Misbehaving(L"mdac_hang_quit.dll", kNeverReturn);
  ASSERT_TRUE(helper.Start());
  const DWORD helperId = StartedId(helper);
  std::optional<RegistrationOutcome> outcome;
  ULONGLONG waited = 0;
  const UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread waiting([&] {
    PostQuitMessage(0);
    const ULONGLONG start = GetTickCount64();
    outcome = helper.Register(hang, "DllRegisterServer", [] {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));
          break;
        }
        DispatchMessageW(&msg);
      }
      return true;
    });
    waited = GetTickCount64() - start;
    SetEvent(done.get());
  });
  const bool limitEnded = WaitForSingleObject(done.get(), 10000) == WAIT_OBJECT_0;
  if (!limitEnded) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, helperId));
    TerminateProcess(process.get(), 1);
  }
  waiting.join();
  EXPECT_TRUE(limitEnded) << "still waiting 10 s into a 1.5 s limit";
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->timedOut);
  EXPECT_LT(waited, 10000u);
}

// The helper's standard handles lead nowhere: a component that writes a
// megabyte there, and reads, neither blocks the helper nor answers for it.
TEST_F(Helper, AComponentOnTheStandardHandlesCannotSpeakForTheHelper) {
  RegistrationHelper helper(ProgramPath(), 10000);
  const std::wstring talk = Misbehaving(L"mdac_talk.dll", kTalkOnStandardHandles);
  const std::wstring failing = Misbehaving(L"mdac_fails.dll", E_FAIL);
  const std::wstring ok = Install(L"component_2_81.dll", L"mdac_ok.dll");
  const std::wstring ends = Misbehaving(L"mdac_ends.dll", kEndProcess);
  std::vector<RegistrationOutcome> outcomes;
  for (const std::wstring& path : {talk, failing, ok, ends, ok}) {
    std::optional<RegistrationOutcome> outcome = helper.Register(path, "DllRegisterServer");
    ASSERT_TRUE(outcome.has_value());
    outcomes.push_back(*outcome);
  }
  EXPECT_TRUE(outcomes[0].Succeeded());
  EXPECT_FALSE(outcomes[0].timedOut);
  EXPECT_EQ(outcomes[1].entryResult, E_FAIL);
  EXPECT_TRUE(outcomes[2].Succeeded());
  // Ending the process with a code of its own is no exception, and is not
  // called one.
  EXPECT_TRUE(outcomes[3].crashed);
  EXPECT_EQ(outcomes[3].exceptionCode, 0u);
  std::wstring ended = LoadText(IDS_LOAD_PROBLEM);
  ended.replace(ended.find(L"[*]"), 3, L"mdac_ends.dll");
  ended.replace(ended.find(L"[*]"), 3, Filled(IDS_COMPONENT_ENDED, L"0"));
  EXPECT_EQ(RegistrationProblemText(outcomes[3], L"mdac_ends.dll"), ended);
  EXPECT_TRUE(outcomes[4].Succeeded());
  EXPECT_EQ(Registrations::Order(),
            (std::vector<std::wstring>{L"mdac_talk.dll", L"mdac_fails.dll", L"mdac_ok.dll",
                                       L"mdac_ends.dll", L"mdac_ok.dll"}));
}

// Run only as the child process of the next test: it holds a helper whose
// component never returns and says which process that helper is.
TEST_F(Helper, DISABLED_HoldsAHangingHelper) {
  RegistrationHelper helper(ProgramPath(), 600000);
  const std::wstring hang = Misbehaving(L"mdac_hang.dll", kNeverReturn);
  ASSERT_TRUE(helper.Start());
  std::ofstream(std::filesystem::path(HelperIdFile())) << StartedId(helper);
  helper.Register(hang, "DllRegisterServer");
}

TEST_F(Helper, AHelperDoesNotOutliveTheProgramThatStartedIt) {
  DeleteFileW(HelperIdFile().c_str());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) +
                         L"\" --gtest_filter=Helper.DISABLED_HoldsAHangingHelper"
                         L" --gtest_also_run_disabled_tests";
  const ChildProcess child = StartProcess(command);
  ASSERT_TRUE(child);
  DWORD helperId = 0;
  for (int i = 0; i < 200 && !helperId; ++i) {
    Sleep(50);
    std::ifstream(std::filesystem::path(HelperIdFile())) >> helperId;
  }
  ASSERT_NE(helperId, 0u) << "the child never started its helper";
  UniqueKernelHandle helper(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, helperId));
  ASSERT_TRUE(helper);
  // Let the helper get into the entry that never returns.
  Sleep(500);
  TerminateProcess(child.process.get(), 1);
  EXPECT_EQ(WaitForSingleObject(helper.get(), 10000), WAIT_OBJECT_0)
      << "the hung helper was left behind";
  TerminateProcess(helper.get(), 1);  // left behind or not, it goes now
  DeleteFileW(HelperIdFile().c_str());
}

// A component's code never runs in the program itself: without a helper it
// is not loaded, and the outcome says why.
TEST_F(Helper, WithoutAHelperNoComponentIsLoadedHere) {
  const std::wstring com = Misbehaving(L"mdac_com.dll", kNeedCom);
  // Neither a program that does not exist nor one that is not a helper serves.
  for (const std::wstring& program : {std::wstring(L"C:\\does\\not\\exist\\MdacRepair.exe"),
                                      TestDirectory() + L"\\winver_probe.exe"}) {
    EXPECT_FALSE(RegistrationHelper(program).Register(com, "DllRegisterServer").has_value());
    ComponentRegistrar registrar(program);
    const RegistrationOutcome outcome = registrar.Register(com, "DllRegisterServer");
    EXPECT_TRUE(outcome.helperUnavailable);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_EQ(GetModuleHandleW(com.c_str()), nullptr) << "the component was loaded here";
    EXPECT_EQ(RegistrationProblemText(outcome, L"MDAC_COM.DLL"),
              Filled(IDS_LOAD_PROBLEM, L"MDAC_COM.DLL", LoadText(IDS_HELPER_UNAVAILABLE)));
  }
}

TEST(RegistrationText, EachOutcomeItsMessage) {
  const auto loadProblem = [](const std::wstring& reason) {
    return Filled(IDS_LOAD_PROBLEM, L"X.DLL", reason);
  };
  RegistrationOutcome outcome;
  outcome.loadError = ERROR_BAD_EXE_FORMAT;
  EXPECT_EQ(RegistrationProblemText(outcome, L"X.DLL"),
            loadProblem(GetSystemErrorText(ERROR_BAD_EXE_FORMAT, L"X.DLL")));
  outcome.loaded = true;
  EXPECT_EQ(RegistrationProblemText(outcome, L"X.DLL"), Filled(IDS_REGISTER_PROBLEM, L"X.DLL"));
  outcome.entryFound = true;
  EXPECT_EQ(RegistrationProblemText(outcome, L"X.DLL"), std::nullopt);
  outcome.entryResult = S_FALSE;
  EXPECT_EQ(RegistrationProblemText(outcome, L"X.DLL"), std::nullopt);
  outcome.entryResult = E_FAIL;
  EXPECT_EQ(RegistrationProblemText(outcome, L"X.DLL"), Filled(IDS_REGISTER_PROBLEM, L"X.DLL"));
  RegistrationOutcome crashed;
  crashed.crashed = true;
  crashed.exceptionCode = 0xC0000005;
  EXPECT_EQ(RegistrationProblemText(crashed, L"X.DLL"),
            loadProblem(Filled(IDS_COMPONENT_CRASHED, L"0xC0000005")));
  RegistrationOutcome hung;
  hung.timedOut = true;
  hung.timeLimitMs = 30000;
  EXPECT_EQ(RegistrationProblemText(hung, L"X.DLL"),
            loadProblem(Filled(IDS_COMPONENT_TIMED_OUT, L"30")));
  EXPECT_EQ(LoadText(IDS_COMPONENT_TIMED_OUT, UiLanguage::English),
            L"The component did not finish within [*] seconds and was stopped.");
}

// A relative path would find whatever lies at it on the current drive: a
// stand-in planted there is never loaded, and the file counts as missing.
TEST_F(Registration, APathThatIsNotAbsoluteIsNeverLoaded) {
  CreateDirectoryW(L"C:\\mdac_planted", nullptr);
  CopyFileW(FixturePath(L"component_2_81.dll").c_str(), L"C:\\mdac_planted\\mdac_planted.dll",
            FALSE);
  SetCurrentDirectoryW(L"C:\\");
  for (const wchar_t* path :
       {L"\\mdac_planted\\mdac_planted.dll", L"C:mdac_planted\\mdac_planted.dll",
        L"mdac_planted\\mdac_planted.dll"})
    RegisterComponent(nullptr, path, "DllRegisterServer", L"mdac_planted.dll");
  // The control: at its full path the same file is loaded.
  RegisterComponent(nullptr, L"C:\\mdac_planted\\mdac_planted.dll", "DllRegisterServer",
                    L"mdac_planted.dll");
  ASSERT_EQ(boxes_.boxes().size(), 3u);
  const std::wstring expected =
      Filled(IDS_LOAD_PROBLEM, L"mdac_planted.dll",
             GetSystemErrorText(ERROR_FILE_NOT_FOUND, L"mdac_planted.dll"));
  for (const auto& box : boxes_.boxes()) EXPECT_EQ(box.text, expected);
  EXPECT_EQ(Registrations::Order(), (std::vector<std::wstring>{L"mdac_planted.dll"}));
  DeleteFileW(L"C:\\mdac_planted\\mdac_planted.dll");
  RemoveDirectoryW(L"C:\\mdac_planted");
}

TEST(SystemErrorText, KnownAndUnknownCodes) {
  const std::wstring missing = GetSystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_GT(missing.size(), 2u);
  EXPECT_EQ(missing.back(), L'\n');  // the system's closing line break stays
  EXPECT_EQ(GetSystemErrorText(0x7FFFFFF0), L"Error text not found.");
}

}  // namespace
