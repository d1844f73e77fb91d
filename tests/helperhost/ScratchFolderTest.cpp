// The scratch folder is the helper's alone: its descriptor refuses the user's
// own processes without elevation, it never takes the temporary folder's
// permissions, and what a helper that never ended left is removed by the next
// start, and nothing else is.
#include <gtest/gtest.h>

#include <windows.h>
// These need the types of windows.h.
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AccessStandIns.h"
#include "AccessTest.h"
#include "ChildProcess.h"
#include "FolderSecurity.h"
#include "HelperHost.h"
#include "ProgramRun.h"
#include "ScratchFolder.h"
#include "TestPaths.h"
#include "UniqueHandle.h"
#include "WithoutAdministratorRights.h"

namespace {

struct WellKnown {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  explicit WellKnown(WELL_KNOWN_SID_TYPE type) {
    DWORD size = sizeof sid;
    CreateWellKnownSid(type, nullptr, sid, &size);
  }
  PSID get() { return sid; }
};

// The SIDs of the allowing entries of an access list.
std::vector<PSID> Allowed(PACL acl) {
  std::vector<PSID> sids;
  for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (GetAce(acl, i, &ace) && static_cast<ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE)
      sids.push_back(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart);
  }
  return sids;
}

bool Names(const std::vector<PSID>& sids, PSID wanted) {
  for (PSID sid : sids)
    if (EqualSid(sid, wanted)) return true;
  return false;
}

// The user's own token with Administrators deny-only: what the same user's
// processes have without elevation. For AccessCheck, as an impersonation token.
UniqueKernelHandle WithoutElevation(bool restricted) {
  HANDLE raw = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &raw);
  const UniqueKernelHandle own(raw);
  UniqueKernelHandle primary;
  WellKnown administrators(WinBuiltinAdministratorsSid);
  SID_AND_ATTRIBUTES denyOnly{administrators.get(), 0};
  if (restricted)
    CreateRestrictedToken(own.get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, primary.put());
  HANDLE impersonation = nullptr;
  DuplicateToken(restricted ? primary.get() : own.get(), SecurityImpersonation, &impersonation);
  return UniqueKernelHandle(impersonation);
}

TEST(ScratchFolderSecurity, TheProgramsDescriptorIsProtectedAndAdmitsAdministratorsAndSystemOnly) {
  const std::wstring sddl = ProgramFolderSecurity();
  DWORD error = 0;
  // AccessCheck wants a primary group, which a folder takes from its maker.
  const SecurityDescriptor descriptor =
      SecurityDescriptor::FromText(std::wstring(L"G:SY") + sddl, error);
  ASSERT_TRUE(descriptor) << error;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(descriptor.get(), &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PROTECTED) << "inherits the temporary folder's entries";
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted));
  ASSERT_TRUE(present && dacl);
  const std::vector<PSID> allowed = Allowed(dacl);
  WellKnown administrators(WinBuiltinAdministratorsSid), system(WinLocalSystemSid);
  EXPECT_EQ(allowed.size(), 2u);
  EXPECT_TRUE(Names(allowed, administrators.get()));
  EXPECT_TRUE(Names(allowed, system.get()));
  EXPECT_EQ(dacl->AceCount, 2u);
  // A high label, where the platform's descriptor language has one.
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExW(&version);
  EXPECT_EQ(sddl.find(L"S:(ML;OICI;NW;;;HI)") != std::wstring::npos, version.dwMajorVersion >= 6)
      << std::string(sddl.begin(), sddl.end());

  // The user's processes without elevation can do nothing in such a folder;
  // the program itself can do everything (the control).
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  const DWORD wants[] = {FILE_ADD_FILE,
                         FILE_ADD_SUBDIRECTORY,
                         FILE_LIST_DIRECTORY,
                         FILE_TRAVERSE,
                         DELETE,
                         FILE_DELETE_CHILD,
                         WRITE_DAC};
  for (const bool restricted : {true, false}) {
    const UniqueKernelHandle token = WithoutElevation(restricted);
    ASSERT_TRUE(token);
    for (const DWORD wanted : wants) {
      PRIVILEGE_SET privileges{};
      DWORD privilegesSize = sizeof privileges, granted = 0;
      BOOL allowedAccess = FALSE;
      ASSERT_TRUE(AccessCheck(descriptor.get(), token.get(), wanted, &mapping, &privileges,
                              &privilegesSize, &granted, &allowedAccess))
          << GetLastError();
      EXPECT_EQ(allowedAccess != FALSE, !restricted) << std::hex << wanted;
    }
  }
}

// Without administrator rights (XP, a user who is none) there is no
// elevation to guard: the folder is the user's and SYSTEM's alone, and the
// test runs through it as it does for an administrator.
TEST(ScratchFolderSecurity, WithoutAdministratorRightsTheFolderIsTheUsersAlone) {
  {
    const ActingWithoutAdministratorRights user;
    ASSERT_TRUE(user);
    const std::wstring sddl = ProgramFolderSecurity();
    EXPECT_EQ(sddl.find(L";;;BA)"), std::wstring::npos) << std::string(sddl.begin(), sddl.end());
    EXPECT_EQ(sddl.find(L"D:P("), sddl.find(L"D:"));
    EXPECT_EQ(sddl.find(L"S:"), std::wstring::npos);
  }
  AccessStandIns standIns({});
  const UniqueKernelHandle token = TokenWithoutAdministrators();
  ASSERT_TRUE(token);
  const ProgramRun run =
      RunProgram(ProgramPath(), L"/check /json", OutputTo::Pipe, 60000, token.get());
  EXPECT_NE(run.out.find("\"works\": true"), std::string::npos) << run.out;
  EXPECT_TRUE(AccessScratchFolders().empty());
}

// A descriptor the platform refuses fails the folder, with the reason: no
// folder that takes the temporary folder's permissions is made instead.
TEST(ScratchFolderSecurity, ADescriptorThatCannotBeAppliedFailsTheFolder) {
  const std::vector<std::wstring> before = AccessScratchFolders();
  ScratchFolderKind kind = AccessScratchFolderKind();
  kind.security = L"D:P(A;OICI;FA;;;NOSUCHSID)";
  const ScratchFolder folder(kind);
  EXPECT_TRUE(folder.Path().empty());
  EXPECT_NE(folder.Error(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(AccessScratchFolders(), before);
}

// Wine keeps only what Unix permissions hold of a file's security, so the
// folder's entries are read back only for what must not be there.
TEST(ScratchFolderSecurity, WhileTheTestRunsItsFolderAdmitsNeitherEveryoneNorUsers) {
  AccessStandIns standIns({L"hang-roundtrip"});
  {
    AccessTest test(ProgramPath(), 60000);
    test.Start();
    ASSERT_EQ(AccessScratchFolders().size(), 1u);
    wchar_t temp[MAX_PATH + 1];
    const std::wstring folder =
        std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) + AccessScratchFolders()[0];
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, &raw),
              static_cast<DWORD>(ERROR_SUCCESS));
    const UniqueLocal owned(raw);
    const std::vector<PSID> allowed = Allowed(dacl);
    EXPECT_FALSE(allowed.empty());
    for (const WELL_KNOWN_SID_TYPE type :
         {WinWorldSid, WinBuiltinUsersSid, WinAuthenticatedUserSid}) {
      WellKnown sid(type);
      EXPECT_FALSE(Names(allowed, sid.get())) << type;
    }
  }
  EXPECT_TRUE(WaitForHelpersToEnd(5000));
  EXPECT_TRUE(AccessScratchFolders().empty());
}

// Run only as the child of the next test: its helper is ended but "never
// ends", so the program's end leaves the folder behind.
TEST(ScratchFolders, DISABLED_LeavesTheFolderOfAHelperThatNeverEnded) {
  HelperHost::PretendHelpersNeverEndForTests(true);
  std::optional<AccessTest> test(std::in_place, ProgramPath(), 60000);
  test->Start();
  for (int i = 0; i < 200 && test->ProcessId() == 0; ++i) Sleep(10);
  Sleep(300);  // into the step that hangs
  test.reset();
  EXPECT_FALSE(WaitForHelpersToEnd(300));
}

TEST(ScratchFolders, TheNextStartRemovesWhatAHelperThatNeverEndedLeftAndNothingElse) {
  wchar_t temp[MAX_PATH + 1];
  const std::wstring parent(temp, GetTempPathW(MAX_PATH + 1, temp));
  {
    AccessStandIns standIns({L"hang-create"});
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(
        RunAndWait(L"\"" + std::wstring(self) +
                   L"\" --gtest_filter=ScratchFolders.DISABLED_LeavesTheFolderOfAHelperThatNever"
                   L"Ended --gtest_also_run_disabled_tests"),
        0u);
  }
  const std::vector<std::wstring> left = AccessScratchFolders();
  ASSERT_EQ(left.size(), 1u) << "the folder of the helper that never ended";
  // Named as the program names its folders, but made by someone else, with
  // the temporary folder's permissions: not the program's to delete.
  const std::wstring planted = parent + L"MdacAccess-0123456789abcdef0123456789abcdef";
  ASSERT_TRUE(CreateDirectoryW(planted.c_str(), nullptr));
  UniqueFileHandle(CreateFileW((planted + L"\\Probe.mdb").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_NEW, 0, nullptr));
  {
    AccessStandIns standIns({});
    EXPECT_NE(RunProgram(L"/check").exitCode, 999u);
  }
  EXPECT_EQ(AccessScratchFolders(), std::vector<std::wstring>{planted.substr(parent.size())});
  EXPECT_NE(GetFileAttributesW((planted + L"\\Probe.mdb").c_str()), INVALID_FILE_ATTRIBUTES);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(planted), ignored);
}

}  // namespace
