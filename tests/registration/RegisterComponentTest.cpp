#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ComponentFixtures.h"
#include "LoadText.h"
#include "MessageBoxCatcher.h"
#include "TextIds.h"
#include "modDLLRegister.h"
#include "modFunctionDelegator.h"

namespace {

HRESULT WINAPI ReturnsZero() { return S_OK; }
HRESULT WINAPI ReturnsFail() { return E_FAIL; }

TEST(CallObject, ForwardsTheResultUnchanged) {
  for (auto [routine, expected] :
       {std::pair{&ReturnsZero, S_OK}, std::pair{&ReturnsFail, E_FAIL}}) {
    IUnknown* object = CreateDelegator(reinterpret_cast<FARPROC>(routine));
    IDelegatedCall* call = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDelegatedCall, reinterpret_cast<void**>(&call)), S_OK);
    EXPECT_EQ(call->Call(), expected);
    EXPECT_EQ(call->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
  }
}

TEST(CallObject, AnswersTheFirstInterfaceRequestOnly) {
  IUnknown* object = CreateDelegator(reinterpret_cast<FARPROC>(&ReturnsZero));
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
  RegisterComponent(ok, "DllRegisterServer", L"mdac_ok.dll");
  RegisterComponent(sFalse, "DllRegisterServer", L"mdac_sfalse.dll");
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
  RegisterComponent(failing, "DllRegisterServer", L"Shown Name.dll");
  RegisterComponent(noEntry, "DllRegisterServer", L"mdac_noentry.dll");
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  std::wstring expected = LoadText(IDS_REGISTER_PROBLEM);
  EXPECT_EQ(boxes_.boxes()[0].text,
            std::wstring(expected).replace(expected.find(L"[*]"), 3, L"Shown Name.dll"));
  EXPECT_EQ(boxes_.boxes()[1].text,
            expected.replace(expected.find(L"[*]"), 3, L"mdac_noentry.dll"));
  EXPECT_EQ(boxes_.boxes()[0].title, LoadText(IDS_CAPTION));
  EXPECT_EQ(Registrations::Order(), (std::vector<std::wstring>{L"mdac_fails.dll"}));
  EXPECT_EQ(GetModuleHandleW(failing.c_str()), nullptr);
}

TEST_F(Registration, AFileThatCannotBeLoadedIsReportedWithTheSystemsReason) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring text = std::wstring(temp) + L"mdac_text.dll";  // not a library
  std::ofstream(std::filesystem::path(text)) << "not a library";
  RegisterComponent(L"C:\\does\\not\\exist\\MSADO15.DLL", "DllRegisterServer", L"MSADO15.DLL");
  RegisterComponent(text, "DllRegisterServer", L"mdac_text.dll");
  RegisterComponent(LoadText(IDS_NOT_AVAILABLE), "DllRegisterServer", LoadText(IDS_NOT_AVAILABLE));
  ASSERT_EQ(boxes_.boxes().size(), 3u);
  const std::wstring problem = LoadText(IDS_LOAD_PROBLEM);
  const std::wstring head = problem.substr(0, problem.find(L"[*]"));
  const std::wstring middle =
      problem.substr(problem.find(L"[*]") + 3, problem.rfind(L"[*]") - problem.find(L"[*]") - 3);
  EXPECT_EQ(boxes_.boxes()[0].text,
            head + L"MSADO15.DLL" + middle + GetSystemErrorText(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(boxes_.boxes()[1].text, head + L"mdac_text.dll" + middle +
                                        GetSystemErrorText(ERROR_BAD_EXE_FORMAT, L"mdac_text.dll"));
  // The system's text names the file instead of keeping its marker.
  EXPECT_EQ(boxes_.boxes()[1].text.find(L"%1"), std::wstring::npos);
  EXPECT_EQ(boxes_.boxes()[2].text.rfind(head + LoadText(IDS_NOT_AVAILABLE) + middle, 0), 0u);
  EXPECT_TRUE(Registrations::Order().empty());
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
    RegisterComponent(path, "DllRegisterServer", L"mdac_planted.dll");
  // The control: at its full path the same file is loaded.
  RegisterComponent(L"C:\\mdac_planted\\mdac_planted.dll", "DllRegisterServer",
                    L"mdac_planted.dll");
  ASSERT_EQ(boxes_.boxes().size(), 3u);
  const std::wstring problem = LoadText(IDS_LOAD_PROBLEM);
  const std::wstring expected =
      problem.substr(0, problem.find(L"[*]")) + L"mdac_planted.dll" +
      problem.substr(problem.find(L"[*]") + 3, problem.rfind(L"[*]") - problem.find(L"[*]") - 3) +
      GetSystemErrorText(ERROR_FILE_NOT_FOUND, L"mdac_planted.dll");
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
