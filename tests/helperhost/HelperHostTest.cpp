// The helper host on the real platform: what a helper inherits, what it ends
// with when its channel fails, how it is started where the program itself
// runs in a job, and where the components it loads find their DLLs.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "AccessHelperProcess.h"
#include "AccessStandIns.h"
#include "AccessTest.h"
#include "ChildProcess.h"
#include "ComponentFixtures.h"
#include "DllSearchOrder.h"
#include "HelperHost.h"
#include "HelperSide.h"
#include "HelperStart.h"
#include "RegistrationHelper.h"
#include "RegistrationHelperMain.h"
#include "RegistrationProtocol.h"
#include "SystemFunction.h"
#include "TestPaths.h"
#include "UniqueHandle.h"

namespace {

std::wstring TempPath(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

// Runs one disabled test of this executable in a process of its own, with
// `prepare` given the suspended child before it runs; its exit code.
template <typename Prepare>
DWORD RunChildTest(const wchar_t* test, Prepare prepare, DWORD milliseconds = 60000) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const ChildProcess child = StartProcess(L"\"" + std::wstring(self) + L"\" --gtest_filter=" +
                                              test + L" --gtest_also_run_disabled_tests",
                                          {}, CREATE_SUSPENDED);
  if (!child) return 999;
  prepare(child);
  ResumeThread(child.thread.get());
  DWORD code = 999;
  if (WaitForSingleObject(child.process.get(), milliseconds) == WAIT_OBJECT_0)
    GetExitCodeProcess(child.process.get(), &code);
  else
    EndProcess(child, 999);
  return code;
}

DWORD StartedId(const RegistrationHelper& helper) {
  for (int i = 0; i < 500; ++i, Sleep(10))
    if (const DWORD id = helper.ProcessId()) return id;
  return 0;
}

// A helper gets its two pipes and NUL, and none of the handles this process
// has made inheritable: one that did would keep the bait pipe open.
TEST(HelperStart, AHelperInheritsNothingButItsPipes) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle baitRead, baitWrite;
  ASSERT_TRUE(CreatePipe(baitRead.put(), baitWrite.put(), &inherit, 0));
  SetHandleInformation(baitRead.get(), HANDLE_FLAG_INHERIT, 0);
  RegistrationHelper helper(ProgramPath());
  ASSERT_TRUE(helper.Start());
  ASSERT_NE(StartedId(helper), 0u);
  baitWrite.reset();
  DWORD available = 0;
  EXPECT_FALSE(PeekNamedPipe(baitRead.get(), nullptr, 0, nullptr, &available, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE)) << "the helper has the bait";
}

// Without the handle list (before Vista) every inheritable handle goes
// along: two helpers started at once must still not get each other's pipes,
// or the first would never see its requests end while the second runs.
TEST(HelperStart, WithoutAHandleListTwoHelpersStartedAtOnceKeepTheirPipesApart) {
  std::optional<PretendAbsent> beforeVista(
      std::in_place, std::initializer_list<const char*>{"InitializeProcThreadAttributeList"});
  RegistrationHelper second(ProgramPath());
  std::optional<RegistrationHelper> first(std::in_place, ProgramPath());
  std::thread other([&] { second.Start(); });
  first->Start();
  other.join();
  const DWORD firstId = StartedId(*first), secondId = StartedId(second);
  beforeVista.reset();
  ASSERT_NE(firstId, 0u);
  ASSERT_NE(secondId, 0u);
  const UniqueKernelHandle firstProcess(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, firstId));
  first.reset();  // idle: told to end by its requests closing
  ASSERT_EQ(WaitForSingleObject(firstProcess.get(), 1500), WAIT_OBJECT_0)
      << "the first helper never saw its requests end";
  DWORD code = 999;
  GetExitCodeProcess(firstProcess.get(), &code);
  EXPECT_EQ(code, 0u) << "ended by the host, not on its own";
  EXPECT_NE(second.ProcessId(), 0u);
}

// A caller may have its helper run as another user, a copy of the program's
// own with Administrators deny-only, say (for a helper that reads what the
// user gives it): the helper runs with that token and talks as any other.
TEST(HelperStart, AHelperRunsAsTheUserItIsGiven) {
  HANDLE raw = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &raw));
  const UniqueKernelHandle own(raw);
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size));
  SID_AND_ATTRIBUTES denyOnly{administrators, 0};
  UniqueKernelHandle restricted;
  ASSERT_TRUE(
      CreateRestrictedToken(own.get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, restricted.put()));
  HelperLaunch launch(ProgramPath(), kRegistrationHelperSwitch, RegistrationProtocol::kUse,
                      {RegistrationProtocol::kRegistered}, 64, 64);
  launch.token = restricted.get();
  HelperHost host(launch);
  ASSERT_TRUE(
      host.Ask(RegistrationProtocol::kRegister,
               RegistrationProtocol::Request(L"C:\\does\\not\\exist.dll", "DllRegisterServer")));
  std::optional<RegistrationOutcome> outcome;
  bool denied = false;
  for (int i = 0; i < 500 && !outcome; ++i, Sleep(10)) {
    const HelperHost::Status status = host.Now();
    ASSERT_EQ(status.startError, 0u);
    if (status.processId && !denied) {
      const UniqueKernelHandle process(
          OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, status.processId));
      HANDLE token = nullptr;
      if (process && OpenProcessToken(process.get(), TOKEN_QUERY, &token)) {
        const UniqueKernelHandle owned(token);
        DWORD needed = 0;
        GetTokenInformation(token, TokenGroups, nullptr, 0, &needed);
        std::vector<BYTE> groups(needed);
        if (needed && GetTokenInformation(token, TokenGroups, groups.data(), needed, &needed)) {
          const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(groups.data());
          for (DWORD g = 0; g < list->GroupCount; ++g)
            if (EqualSid(list->Groups[g].Sid, administrators))
              denied = (list->Groups[g].Attributes & SE_GROUP_USE_FOR_DENY_ONLY) != 0;
        }
      }
    }
    for (const HelperFraming::Record& record : host.TakeAnswers())
      outcome = RegistrationProtocol::ReadAnswer(record);
  }
  ASSERT_TRUE(outcome.has_value());
  EXPECT_FALSE(outcome->loaded);
  EXPECT_TRUE(denied) << "the helper's Administrators membership is not deny-only";
}

// A helper started without its channel, or whose caller is gone before it
// greets, says so in its exit code instead of 0.
TEST(HelperSide, AHelperWithoutItsChannelEndsWithACodeOfItsOwn) {
  for (const wchar_t* helperSwitch : {L"/registration-helper", L"/access-helper"}) {
    SCOPED_TRACE(std::wstring(helperSwitch).c_str());
    const std::wstring program = L"\"" + ProgramPath() + L"\" ";
    EXPECT_EQ(RunAndWait(program + helperSwitch + L" 0 0"), static_cast<DWORD>(kHelperBadStart));
    EXPECT_EQ(RunAndWait(program + helperSwitch + L" 12 zz"), static_cast<DWORD>(kHelperBadStart));
    // Its answers go to a pipe whose reading end is closed.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueKernelHandle requestsRead, requestsWrite, answersRead, answersWrite;
    ASSERT_TRUE(CreatePipe(requestsRead.put(), requestsWrite.put(), &inherit, 0));
    ASSERT_TRUE(CreatePipe(answersRead.put(), answersWrite.put(), &inherit, 0));
    answersRead.reset();
    const ChildProcess helper = StartProcess(
        program + HelperArguments(helperSwitch, requestsRead.get(), answersWrite.get()),
        {true, nullptr, nullptr});
    ASSERT_TRUE(helper);
    ASSERT_EQ(WaitForSingleObject(helper.process.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(helper.process.get(), &code);
    EXPECT_EQ(code, static_cast<DWORD>(kHelperChannelLost));
  }
}

// ---- a program that runs in a job -----------------------------------------

std::wstring JobHelperIdFile() { return TempPath(L"mdac_job_helper_id.txt"); }

// Run only as the child of the next test, inside the job it made: Vista and
// 7 refuse to put a process into a second job, which the host is told to
// behave like here. A component that hangs is still ended at the time limit,
// whether the helper broke away into a job of its own or runs without one.
TEST(HelperJobs, DISABLED_AHelperInsideAJobThatForbidsAnother) {
  RefuseNestedJobsForTests(true);
  const std::wstring hang = TempPath(L"mdac_job_hang.dll");
  CopyFileW(FixturePath(L"component_2_81.dll").c_str(), hang.c_str(), FALSE);
  Registrations::Answer(L"mdac_job_hang.dll", kNeverReturn);
  RegistrationHelper helper(ProgramPath(), 1500);
  ASSERT_TRUE(helper.Start());
  const DWORD helperId = StartedId(helper);
  ASSERT_NE(helperId, 0u);
  std::ofstream(std::filesystem::path(JobHelperIdFile())) << helperId;
  Sleep(300);  // the parent looks at the helper's job meanwhile
  const std::optional<RegistrationOutcome> outcome = helper.Register(hang, "DllRegisterServer");
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->timedOut);
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, helperId));
  EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0);
  EXPECT_TRUE(WaitForHelpersToEnd(5000));
  DeleteFileW(hang.c_str());
}

TEST(HelperJobs, AHelperBreaksAwayWhereItMayAndIsEndedByTheHostWhereNot) {
  for (const bool breakawayAllowed : {true, false}) {
    SCOPED_TRACE(breakawayAllowed ? "breakaway allowed" : "breakaway refused");
    DeleteFileW(JobHelperIdFile().c_str());
    const UniqueKernelHandle outer(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | (breakawayAllowed ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0);
    ASSERT_TRUE(SetInformationJobObject(outer.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits));
    BOOL inOuter = -1;
    std::thread watch;
    const DWORD code = RunChildTest(
        L"HelperJobs.DISABLED_AHelperInsideAJobThatForbidsAnother", [&](const ChildProcess& child) {
          AssignProcessToJobObject(outer.get(), child.process.get());
          watch = std::thread([&] {
            DWORD id = 0;
            for (int i = 0; i < 500 && !id; ++i, Sleep(10))
              std::ifstream(std::filesystem::path(JobHelperIdFile())) >> id;
            const UniqueKernelHandle helper(
                OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, id));
            if (helper) IsProcessInJob(helper.get(), outer.get(), &inOuter);
          });
        });
    watch.join();
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(inOuter, breakawayAllowed ? FALSE : TRUE);
  }
  DeleteFileW(JobHelperIdFile().c_str());
  Registrations::Clear();
}

// ---- where a component's DLLs come from ------------------------------------

// A component beside its own DLL, and one whose DLL lies only in the current
// folder and on PATH, where a planted copy would be.
struct DependencyFolders {
  std::wstring beside = TempPath(L"mdac_dep_beside"), alone = TempPath(L"mdac_dep_alone"),
               planted = TempPath(L"mdac_dep_planted");
  DependencyFolders() {
    for (const std::wstring& folder : {beside, alone, planted})
      CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(FixturePath(L"component_with_dependency.dll").c_str(),
              (beside + L"\\mdac_with_dep.dll").c_str(), FALSE);
    CopyFileW(FixturePath(L"mdac_dependency_probe.dll").c_str(),
              (beside + L"\\mdac_dependency_probe.dll").c_str(), FALSE);
    CopyFileW(FixturePath(L"component_with_dependency.dll").c_str(),
              (alone + L"\\mdac_with_dep.dll").c_str(), FALSE);
    CopyFileW(FixturePath(L"mdac_dependency_probe.dll").c_str(),
              (planted + L"\\mdac_dependency_probe.dll").c_str(), FALSE);
  }
  ~DependencyFolders() {
    for (const std::wstring& folder : {beside, alone, planted}) {
      std::error_code ignored;
      std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    }
  }
};

// Run only as the child of the next test, which says in MDAC_DLL_SEARCH what
// the platform may offer: "all", "no-default-directories" (before Windows
// 8), "nothing" (XP without a service pack; the control: the planted copy is
// found).
TEST(DllSearch, DISABLED_AComponentFindsItsOwnDllsAndNoPlantedOne) {
  wchar_t offer[32] = L"";
  GetEnvironmentVariableW(L"MDAC_DLL_SEARCH", offer, 32);
  const std::wstring platform = offer;
  using Names = std::initializer_list<const char*>;
  std::optional<PretendAbsent> older;
  if (platform == L"no-default-directories") older.emplace(Names{"SetDefaultDllDirectories"});
  if (platform == L"nothing") older.emplace(Names{"SetDefaultDllDirectories", "SetDllDirectoryW"});
  const DllSearch chosen = NarrowDllSearchOrder();
  EXPECT_EQ(chosen, platform == L"all"                      ? DllSearch::SystemFolderOnly
                    : platform == L"no-default-directories" ? DllSearch::NoCurrentFolder
                                                            : DllSearch::PlatformDefault);
  const DependencyFolders folders;
  SetCurrentDirectoryW(folders.planted.c_str());
  wchar_t path[8192] = L"";
  GetEnvironmentVariableW(L"PATH", path, 8192);
  SetEnvironmentVariableW(L"PATH", (folders.planted + L";" + path).c_str());
  EXPECT_TRUE(LoadComponentLibrary(folders.beside + L"\\mdac_with_dep.dll"));
  const UniqueModule alone = LoadComponentLibrary(folders.alone + L"\\mdac_with_dep.dll");
  // Before Windows 8 the platform drops the current folder alone, and PATH
  // stays (and Wine 8 keeps the current folder too): there only the
  // component's own DLLs are checked.
  if (platform != L"no-default-directories") {
    EXPECT_EQ(static_cast<bool>(alone), platform == L"nothing") << "the planted copy's finding";
  }
}

TEST(DllSearch, EachReleasesWayFindsTheComponentsOwnDllsAndNoPlantedOne) {
  for (const wchar_t* platform : {L"all", L"no-default-directories", L"nothing"}) {
    SCOPED_TRACE(std::wstring(platform).c_str());
    SetEnvironmentVariableW(L"MDAC_DLL_SEARCH", platform);
    EXPECT_EQ(RunChildTest(L"DllSearch.DISABLED_AComponentFindsItsOwnDllsAndNoPlantedOne",
                           [](const ChildProcess&) {}),
              0u);
  }
  SetEnvironmentVariableW(L"MDAC_DLL_SEARCH", nullptr);
}

// The registration helper narrows its own search: a DLL a component imports
// is found beside it, never in the current folder the helper inherited.
TEST(DllSearch, TheRegistrationHelperLoadsNoDllFromItsCurrentFolder) {
  const DependencyFolders folders;
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(folders.planted.c_str());
  RegistrationHelper helper(ProgramPath());
  const auto beside = helper.Register(folders.beside + L"\\mdac_with_dep.dll", "DllRegisterServer");
  const auto alone = helper.Register(folders.alone + L"\\mdac_with_dep.dll", "DllRegisterServer");
  SetCurrentDirectoryW(before);
  ASSERT_TRUE(beside && alone);
  EXPECT_TRUE(beside->Succeeded());
  EXPECT_FALSE(alone->loaded);
  EXPECT_EQ(alone->loadError, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

// ---- the fuzz target's seeds ---------------------------------------------

// Everything a real helper says to `requests` until it ends, which it does
// once they are all read.
std::vector<std::uint8_t> TalkTo(const wchar_t* helperSwitch,
                                 const std::vector<std::vector<std::uint8_t>>& requests) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle requestsRead, requestsWrite, answersRead, answersWrite;
  CreatePipe(requestsRead.put(), requestsWrite.put(), &inherit, 1 << 20);
  CreatePipe(answersRead.put(), answersWrite.put(), &inherit, 0);
  SetHandleInformation(requestsWrite.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(answersRead.get(), HANDLE_FLAG_INHERIT, 0);
  const ChildProcess helper =
      StartProcess(L"\"" + ProgramPath() + L"\" " +
                       HelperArguments(helperSwitch, requestsRead.get(), answersWrite.get()),
                   {true, nullptr, nullptr});
  requestsRead.reset();
  answersWrite.reset();
  for (const std::vector<std::uint8_t>& request : requests) {
    DWORD written = 0;
    WriteFile(requestsWrite.get(), request.data(), static_cast<DWORD>(request.size()), &written,
              nullptr);
  }
  requestsWrite.reset();
  std::vector<std::uint8_t> stream;
  std::uint8_t buffer[4096];
  DWORD got = 0;
  while (ReadFile(answersRead.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    stream.insert(stream.end(), buffer, buffer + got);
  WaitForSingleObject(helper.process.get(), 10000);
  return stream;
}

// Run by hand, with MDAC_FUZZ_SEEDS naming a folder: writes the seeds of
// helper_protocol_fuzz (tests/fuzz/seeds-helper) from what the real helpers
// say. Each seed: the use (0 access, 1 registration), the piece size less
// one, the stream.
TEST(HelperSeeds, DISABLED_WriteTheFuzzSeeds) {
  wchar_t folder[MAX_PATH] = L"";
  ASSERT_NE(GetEnvironmentVariableW(L"MDAC_FUZZ_SEEDS", folder, MAX_PATH), 0u);
  const auto write = [&](const std::wstring& name, std::uint8_t use,
                         const std::vector<std::uint8_t>& stream) {
    std::ofstream out(std::filesystem::path(std::wstring(folder) + L"\\" + name), std::ios::binary);
    out.put(static_cast<char>(use));
    out.put(7);
    out.write(reinterpret_cast<const char*>(stream.data()),
              static_cast<std::streamsize>(stream.size()));
  };
  const auto accessRun = [] {
    const ScratchFolder scratch(AccessScratchFolderKind());
    return TalkTo(kAccessHelperSwitch,
                  {HelperFraming::Frame(
                      AccessProtocol::kRun, 1,
                      AccessProtocol::RunRequest(AccessDatabaseKind::JetMdb, scratch.Path()))});
  };
  write(L"access-platform-alone", 0, accessRun());
  for (const wchar_t* behaviour :
       {L"works", L"open-fails", L"wrong-value", L"crash-roundtrip", L"throw-create"}) {
    const AccessStandIns standIns({behaviour});
    write(std::wstring(L"access-") + behaviour, 0, accessRun());
  }
  const std::wstring ok = TempPath(L"mdac_seed_ok.dll"), failing = TempPath(L"mdac_seed_fails.dll");
  CopyFileW(FixturePath(L"component_2_81.dll").c_str(), ok.c_str(), FALSE);
  CopyFileW(FixturePath(L"component_2_81.dll").c_str(), failing.c_str(), FALSE);
  Registrations::Answer(L"mdac_seed_fails.dll", E_FAIL);
  std::vector<std::vector<std::uint8_t>> requests;
  std::uint32_t number = 0;
  for (const std::wstring& path : {ok, failing, std::wstring(L"C:\\does\\not\\exist.dll")})
    requests.push_back(
        HelperFraming::Frame(RegistrationProtocol::kRegister, ++number,
                             RegistrationProtocol::Request(path, "DllRegisterServer")));
  write(L"registration-three-files", 1, TalkTo(kRegistrationHelperSwitch, requests));
  DeleteFileW(ok.c_str());
  DeleteFileW(failing.c_str());
  Registrations::Clear();
}

}  // namespace
