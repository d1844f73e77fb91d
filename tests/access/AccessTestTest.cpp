// The database access test against stand-in components that behave as the
// test chooses, and against the platform's own registrations.
#include <gtest/gtest.h>

#include <windows.h>
#include <filesystem>

#include <cstdint>
#include <cstdio>
#include <string>

#include "AccessClasses.h"
#include "AccessStandIns.h"
#include "AccessTest.h"
#include "ComApartment.h"
#include "HelperHost.h"
#include "LateBound.h"
#include "LateImports.h"
#include "ProgramRun.h"
#include "ReportWriters.h"
#include "SystemMessage.h"
#include "Utf8.h"

namespace {

// Waits up to five seconds for `done`.
template <typename Done>
bool WaitFor(Done done, DWORD milliseconds = 5000) {
  for (const ULONGLONG until = GetTickCount64() + milliseconds; !done(); Sleep(10))
    if (GetTickCount64() > until) return false;
  return true;
}

// What a step found, for the failure messages.
std::string Describe(const AccessStep& s) {
  return std::string(AccessStepKey(s.step)) + " " + AccessOutcomeKey(s.outcome) + " " +
         ToUtf8(AccessFailureDetail(s));
}
std::string Describe(const AccessTestResult& r) {
  std::string all;
  for (const AccessStep& s : r.steps) all += Describe(s) + "; ";
  return all;
}

const AccessStep& StepOf(const AccessTestResult& r, AccessStepName name) { return r[name]; }

// A short limit for the hanging stand-ins; generous for a helper that works.
constexpr DWORD kShortLimit = 1500;

AccessTestResult RunWith(const AccessStandIns::Options& options, DWORD limit = 10000) {
  AccessStandIns standIns(options);
  return RunAccessTest(ProgramPath(), limit);
}

class AccessTestFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(WaitForHelpersToEnd(5000));
    EXPECT_TRUE(AccessScratchFolders().empty());
  }
};

using AccessTestRuns = AccessTestFixture;

TEST_F(AccessTestRuns, StandInsThatWorkPassEveryStepWithARealFile) {
  const AccessTestResult r = RunWith({});
  for (const AccessStep& s : r.steps) EXPECT_EQ(s.outcome, AccessOutcome::Passed) << Describe(s);
  EXPECT_TRUE(r.Works());
}

TEST_F(AccessTestRuns, AClassThatIsNotRegisteredFailsTheClassesStepAndStopsTheRest) {
  const AccessTestResult r = RunWith({L"works", L"ADOX.Catalog"});
  const AccessStep& classes = StepOf(r, AccessStepName::Classes);
  EXPECT_EQ(classes.outcome, AccessOutcome::Failed);
  EXPECT_EQ(classes.className, L"ADOX.Catalog");
  EXPECT_LT(classes.hresult, 0);
  EXPECT_FALSE(classes.message.empty());
  EXPECT_EQ(StepOf(r, AccessStepName::Create).outcome, AccessOutcome::NotRun);
  EXPECT_EQ(StepOf(r, AccessStepName::RoundTrip).outcome, AccessOutcome::NotRun);
  EXPECT_EQ(StepOf(r, AccessStepName::Cleanup).outcome, AccessOutcome::Passed);
  EXPECT_FALSE(r.Works());
}

TEST_F(AccessTestRuns, AMissingServerFileIsNamed) {
  const AccessTestResult r = RunWith({L"works", L"", L"Microsoft.Jet.OLEDB.4.0"});
  const AccessStep& classes = StepOf(r, AccessStepName::Classes);
  EXPECT_EQ(classes.outcome, AccessOutcome::Failed);
  EXPECT_EQ(classes.className, L"Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(classes.serverFile, FixturePath(L"no_such_server.dll"));
  EXPECT_EQ(classes.hresult, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(classes.message.find(FixturePath(L"no_such_server.dll")), std::wstring::npos);
}

TEST_F(AccessTestRuns, AFailingOpenGivesEveryErrorOfTheConnectionTheFirstAsItsText) {
  const AccessTestResult r = RunWith({L"open-fails"});
  EXPECT_EQ(StepOf(r, AccessStepName::Create).outcome, AccessOutcome::Passed);
  EXPECT_TRUE(StepOf(r, AccessStepName::Create).errors.empty());
  const AccessStep& trip = StepOf(r, AccessStepName::RoundTrip);
  EXPECT_EQ(trip.outcome, AccessOutcome::Failed);
  EXPECT_EQ(trip.hresult, E_FAIL);
  // The error object's text, not the exception's general one.
  EXPECT_EQ(trip.message.rfind(L"Unrecognized database format '", 0), 0u);
  ASSERT_EQ(trip.errors.size(), 2u);
  EXPECT_EQ(trip.errors[0].description, trip.message);
  EXPECT_EQ(trip.errors[0].nativeError, -534774612);
  EXPECT_EQ(trip.errors[0].sqlState, L"3343");
  EXPECT_EQ(trip.errors[0].source, L"Microsoft JET Database Engine");
  EXPECT_EQ(trip.errors[1].description, L"The database engine could not open the file.");
  EXPECT_EQ(trip.errors[1].nativeError, -1206);
  EXPECT_EQ(trip.errors[1].sqlState, L"HY000");
  EXPECT_EQ(StepOf(r, AccessStepName::Cleanup).outcome, AccessOutcome::Passed);
}

// What a call reports when it fails is its own: a warning an earlier call
// left in the connection's errors is not blamed, and an exception that gives
// only its wCode reads as the platform's convention has it, not as a
// dispatch error (wCode 3 would read "Member not found").
TEST_F(AccessTestRuns, AFailureNamesWhatThatCallReported) {
  const struct {
    const wchar_t* behaviour;
    AccessStepName step;
    HRESULT hresult;
    const wchar_t* message;
  } cases[] = {
      {L"stale-error", AccessStepName::RoundTrip, E_FAIL,
       L"Execute failed without an error object."},
      {L"wcode-create", AccessStepName::Create, static_cast<HRESULT>(0x80040203),
       L"An exception with a wCode only."},
  };
  for (const auto& c : cases) {
    const AccessTestResult r = RunWith({c.behaviour});
    const AccessStep& step = StepOf(r, c.step);
    SCOPED_TRACE(Describe(r));
    EXPECT_EQ(step.outcome, AccessOutcome::Failed);
    EXPECT_EQ(step.hresult, c.hresult);
    EXPECT_EQ(step.message, c.message);
    EXPECT_TRUE(step.errors.empty());
  }
  EXPECT_EQ(FromExceptionWCode(3), static_cast<HRESULT>(0x80040203));
  EXPECT_EQ(FromExceptionWCode(0xFDFF), static_cast<HRESULT>(0x8004FFFF));
  EXPECT_EQ(FromExceptionWCode(0xFFFF), static_cast<HRESULT>(0x8004FFFF));
}

// A helper that breaks the rules in ways no component can make the real one
// break them: what it said up to its end counts, and only that.
TEST_F(AccessTestRuns, AHelperIsBelievedUpToItsLastGoodRecordAndNoFurther) {
  const struct {
    const wchar_t* behaviour;
    bool works;
    AccessStepName failed;
  } cases[] = {
      // All four steps reported, then the end before "finished": nothing lost.
      {L"report-all-then-end", true, AccessStepName::Classes},
      {L"nonsense", false, AccessStepName::Classes},
      {L"never-greet", false, AccessStepName::Classes},
  };
  for (const auto& c : cases) {
    SetEnvironmentVariableW(L"MDAC_FAKE_HELPER", c.behaviour);
    const AccessTestResult r = RunAccessTest(FixturePath(L"fake_helper.exe"), 1500);
    SetEnvironmentVariableW(L"MDAC_FAKE_HELPER", nullptr);
    SCOPED_TRACE(Describe(r));
    EXPECT_EQ(r.Works(), c.works);
    if (!c.works) {
      EXPECT_EQ(StepOf(r, c.failed).outcome, AccessOutcome::Failed);
      EXPECT_FALSE(StepOf(r, c.failed).message.empty());
    }
  }
}

TEST_F(AccessTestRuns, AValueThatComesBackChangedFailsTheRoundTrip) {
  const AccessTestResult r = RunWith({L"wrong-value"});
  const AccessStep& trip = StepOf(r, AccessStepName::RoundTrip);
  EXPECT_EQ(trip.outcome, AccessOutcome::Failed);
  EXPECT_NE(trip.message.find(L"Pr\u00fcfung ????? ??"), std::wstring::npos);
  EXPECT_NE(trip.message.find(L"Pr\u00fcfung \u03a9\u03bc\u03ad\u03b3\u03b1 \u691c\u67fb"),
            std::wstring::npos);
  EXPECT_FALSE(r.Works());
}

// A component that crashes, throws, hangs or ends the process in a step:
// that step fails, the caller neither crashes nor hangs, nothing is left.
struct Misbehaviour {
  const wchar_t* behaviour;
  AccessStepName step;
  HRESULT hresult;  // 0: not checked (the failure names the exit code)
};

class AccessMisbehaviour : public AccessTestFixture,
                           public ::testing::WithParamInterface<Misbehaviour> {};

TEST_P(AccessMisbehaviour, FailsTheStepItHappensIn) {
  const Misbehaviour m = GetParam();
  const ULONGLONG start = GetTickCount64();
  const AccessTestResult r = RunWith({m.behaviour}, kShortLimit);
  EXPECT_LT(GetTickCount64() - start, kShortLimit + 4000u);
  const AccessStep& step = r[m.step];
  SCOPED_TRACE(Describe(r));
  EXPECT_EQ(step.outcome, AccessOutcome::Failed);
  if (m.hresult) {
    EXPECT_EQ(step.hresult, m.hresult);
  }
  EXPECT_FALSE(step.message.empty());
  for (std::size_t i = 0; i < static_cast<std::size_t>(m.step); ++i)
    EXPECT_EQ(r.steps[i].outcome, AccessOutcome::Passed) << i;
  // A helper that survives its component's exception (x86_64 unwinds a C++
  // exception through the component) still cleans up.
  for (std::size_t i = static_cast<std::size_t>(m.step) + 1; i < kAccessStepCount; ++i) {
    if (i + 1 < kAccessStepCount || r.steps[i].outcome != AccessOutcome::Passed) {
      EXPECT_EQ(r.steps[i].outcome, AccessOutcome::NotRun) << i;
    }
  }
  EXPECT_FALSE(r.Works());
}

constexpr HRESULT kTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
INSTANTIATE_TEST_SUITE_P(
    Stand, AccessMisbehaviour,
    ::testing::Values(Misbehaviour{L"crash-create", AccessStepName::Create, 0},
                      Misbehaviour{L"throw-create", AccessStepName::Create, 0},
                      Misbehaviour{L"hang-create", AccessStepName::Create, kTimedOut},
                      Misbehaviour{L"exit-create", AccessStepName::Create, 0},
                      Misbehaviour{L"crash-roundtrip", AccessStepName::RoundTrip, 0},
                      Misbehaviour{L"throw-roundtrip", AccessStepName::RoundTrip, 0},
                      Misbehaviour{L"hang-roundtrip", AccessStepName::RoundTrip, kTimedOut},
                      Misbehaviour{L"exit-roundtrip", AccessStepName::RoundTrip, 0},
                      Misbehaviour{L"crash-cleanup", AccessStepName::Cleanup, 0},
                      Misbehaviour{L"throw-cleanup", AccessStepName::Cleanup, 0},
                      Misbehaviour{L"hang-cleanup", AccessStepName::Cleanup, kTimedOut},
                      Misbehaviour{L"exit-cleanup", AccessStepName::Cleanup, 0}));

TEST_F(AccessTestRuns, OnThePlatformAloneTheMissingClassesAreNamed) {
  const AccessTestResult r = RunAccessTest(ProgramPath(), 10000);
  const AccessStep& classes = StepOf(r, AccessStepName::Classes);
  EXPECT_EQ(classes.outcome, AccessOutcome::Failed);
  // Wine registers ADO's two classes but neither ADOX nor the Jet provider.
  EXPECT_EQ(classes.className, L"ADOX.Catalog");
  EXPECT_LT(classes.hresult, 0);
  EXPECT_FALSE(r.Works());
}

TEST_F(AccessTestRuns, AMissingTemporaryFolderFailsTheCreateStepWithItsReason) {
  wchar_t tmp[MAX_PATH] = L"", temp[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
  const std::wstring missing = L"C:\\no\\such\\temp";
  SetEnvironmentVariableW(L"TMP", missing.c_str());
  SetEnvironmentVariableW(L"TEMP", missing.c_str());
  const AccessTestResult r = RunWith({});
  SetEnvironmentVariableW(L"TMP", tmp);
  SetEnvironmentVariableW(L"TEMP", temp);
  EXPECT_EQ(StepOf(r, AccessStepName::Classes).outcome, AccessOutcome::Passed);
  const AccessStep& create = StepOf(r, AccessStepName::Create);
  EXPECT_EQ(create.outcome, AccessOutcome::Failed);
  EXPECT_EQ(create.hresult, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_NE(create.message.find(missing), std::wstring::npos);
  EXPECT_EQ(StepOf(r, AccessStepName::RoundTrip).outcome, AccessOutcome::NotRun);
}

TEST_F(AccessTestRuns, EndingATestThatHangsEndsItsHelperAndRemovesItsFolder) {
  AccessStandIns standIns({L"hang-roundtrip"});
  DWORD helper = 0;
  UniqueKernelHandle process;
  ULONGLONG ended = 0;
  {
    AccessTest test(ProgramPath(), 60000);
    test.Start();
    ASSERT_TRUE(WaitFor([&] { return (helper = test.ProcessId()) != 0; }));
    EXPECT_EQ(AccessScratchFolders().size(), 1u);
    // Until the helper is in the hanging step: the database is made by then.
    wchar_t temp[MAX_PATH + 1];
    const std::wstring database = std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) +
                                  AccessScratchFolders().at(0) + L"\\Probe.mdb";
    const ULONGLONG until = GetTickCount64() + 5000;
    while (!test.Poll() && GetFileAttributesW(database.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount64() < until)
      Sleep(10);
    EXPECT_FALSE(test.Poll());
    process.reset(OpenProcess(SYNCHRONIZE, FALSE, helper));
    ended = GetTickCount64();
  }
  // The end is not waited for: the host sees the helper go, and removes the
  // folder (the fixture looks), on a thread of its own.
  EXPECT_LT(GetTickCount64() - ended, 100u);
  EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0);
}

TEST_F(AccessTestRuns, MessagesArrivingWhileItRunsAreHandedToTheCaller) {
  AccessStandIns standIns({L"hang-create"});
  int calls = 0;
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  RunAccessTest(ProgramPath(), 800, [&] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ++calls;
    return true;
  });
  EXPECT_GE(calls, 1);
}

// The folder's removal deletes the two files the test makes and nothing
// else: what someone put beside them stays, and so does the folder, however
// it got there (under Wine a link to a file reads as a plain one, and
// deleting it deletes what it points at; tests/hostile has that case).
TEST(ScratchFolderRemoval, DeletesOnlyWhatTheTestMakes) {
  wchar_t temp[MAX_PATH + 1];
  const std::wstring base = std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) + L"MdacLinkTest";
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(base), ignored);
  const std::wstring outside = base + L"-outside", inside = base + L"\\inner";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(inside.c_str(), nullptr);
  CreateDirectoryW(outside.c_str(), nullptr);
  const auto make = [](const std::wstring& path, DWORD attributes = 0) {
    CloseHandle(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
  };
  const std::wstring kept = outside + L"\\kept.txt";
  make(kept);
  make(base + L"\\Probe.mdb");
  make(base + L"\\Probe.ldb", FILE_ATTRIBUTE_READONLY);
  make(inside + L"\\planted.txt");

  const std::vector<std::wstring> files = AccessScratchFolderKind().files;
  EXPECT_FALSE(RemoveScratchFolder(base, files));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_EQ(GetFileAttributesW((base + L"\\Probe.mdb").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((base + L"\\Probe.ldb").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((inside + L"\\planted.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);

  // Emptied of what was planted, it goes; one already gone is no failure.
  DeleteFileW((inside + L"\\planted.txt").c_str());
  RemoveDirectoryW(inside.c_str());
  EXPECT_TRUE(RemoveScratchFolder(base, files));
  EXPECT_EQ(GetFileAttributesW(base.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(RemoveScratchFolder(base, files));
  EXPECT_NE(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
  std::filesystem::remove_all(std::filesystem::path(outside), ignored);
}

}  // namespace

namespace {

// A COM library that cannot be loaded (a damaged system) fails the first step
// with a reason, in the helper's place here.
TEST(AccessClassesStep, ADamagedComLibraryFailsItWithAReason) {
  const ComApartment com(ComApartment::Kind::Com);
  const PretendAbsent damaged({"CLSIDFromProgID"});
  const AccessStep classes = CheckAccessClasses(kAccessDatabases[0].provider);
  EXPECT_EQ(classes.outcome, AccessOutcome::Failed);
  EXPECT_EQ(classes.className, kAccessClasses[0]);
  EXPECT_EQ(classes.hresult, kSystemFunctionMissing);
  EXPECT_FALSE(classes.message.empty());
}

// The codes a failing database program meets most have a text also where the
// platform has none (Wine lacks "Library not registered"): a failed step never
// reads as a bare number.
TEST(AccessFailureText, TheCodesDatabaseProgramsMeetAlwaysHaveAText) {
  for (const std::uint32_t code : {0x8002801Du, 0x80040154u, 0x80004002u, 0x80004005u, 0x800A0E7Au})
    EXPECT_FALSE(SystemMessage(static_cast<std::int32_t>(code)).empty()) << std::hex << code;
}

}  // namespace
