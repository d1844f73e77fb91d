// The real MdacRepair.exe's /check says whether database access works, in
// words and as JSON, and its exit code says so too, for each behaviour of
// the stand-in components and for the platform alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "AccessStandIns.h"
#include "AccessTexts.h"
#include "ComponentFixtures.h"
#include "FormatPlaceholders.h"
#include "InstalledComponents.h"
#include "JsonValue.h"
#include "LoadText.h"
#include "ProgramRun.h"
#include "ReportWriters.h"
#include "TextIds.h"
#include "WizardTestSupport.h"

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                          static_cast<int>(text.size()))));
  return text;
}

struct Case {
  const char* what;
  AccessStandIns::Options standIns;
  bool works;
  const char* failedStep;  // null when it works
  const char* className;   // of the failed step, or null
  const char* hresult;     // of the failed step, or null
  std::wstring messageStart;
  // The connection's errors the failed step carries: how many, and the
  // first one's native error and SQL state.
  std::size_t errors = 0;
  double nativeError = 0;
  const char* sqlState = nullptr;
};

class AccessReport : public ::testing::Test {
 protected:
  void SetUp() override { Registrations::Clear(); }
  void TearDown() override {
    Registrations::Clear();
    EXPECT_TRUE(AccessScratchFolders().empty());
  }
};

void CheckReports(const Case& c, bool registered) {
  SCOPED_TRACE(c.what);
  std::optional<AccessStandIns> standIns;
  if (registered) standIns.emplace(c.standIns);
  const ProgramRun json = RunProgram(L"/check /json");
  // The machine's versions are current: only database access decides.
  EXPECT_EQ(json.exitCode, c.works ? 0u : 1u) << json.out;
  const JsonValue report = JsonValue::Parse(json.out);
  const JsonValue& access = report["access"];
  EXPECT_EQ(access["works"].boolean, c.works);
  const auto& steps = access["steps"].items;
  ASSERT_EQ(steps.size(), 4u);
  const char* keys[] = {"classes", "create", "roundtrip", "cleanup"};
  std::size_t failedAt = 4;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(steps[i]["step"].text, keys[i]);
    if (steps[i]["outcome"].text == "failed" && failedAt == 4) failedAt = i;
  }
  if (c.failedStep) {
    ASSERT_LT(failedAt, 4u) << json.out;
    const JsonValue& failed = steps[failedAt];
    EXPECT_EQ(failed["step"].text, c.failedStep);
    if (c.className) {
      EXPECT_EQ(failed["class"].text, c.className);
    }
    if (c.hresult) {
      EXPECT_EQ(failed["hresult"].text, c.hresult);
    }
    EXPECT_EQ(Wide(failed["message"].text).rfind(c.messageStart, 0), 0u) << failed["message"].text;
    const auto& errors = failed["errors"].items;
    ASSERT_EQ(errors.size(), c.errors) << json.out;
    if (c.errors) {
      EXPECT_EQ(Wide(errors[0]["description"].text).rfind(c.messageStart, 0), 0u);
      EXPECT_EQ(errors[0]["nativeError"].number, c.nativeError);
      EXPECT_EQ(errors[0]["sqlState"].text, c.sqlState);
      EXPECT_EQ(errors[0]["number"].text, c.hresult);
      for (const JsonValue& e : errors)
        for (const char* key : {"description", "number", "nativeError", "sqlState", "source"})
          EXPECT_NO_THROW(e[key]) << key;
    }
  } else {
    EXPECT_EQ(failedAt, 4u) << json.out;
  }

  // In words: the section before the result line, its verdict as the pages
  // word it.
  const ProgramRun text = RunProgram(L"/check");
  EXPECT_EQ(text.exitCode, json.exitCode);
  const std::wstring out = Wide(text.out);
  const std::size_t section = out.find(L"\r\n" + LoadText(IDS_ACCESS_HEADER) + L"\r\n");
  ASSERT_NE(section, std::wstring::npos) << out;
  const std::size_t verdictAt = section + 2 + LoadText(IDS_ACCESS_HEADER).size() + 2;
  const std::wstring verdict = out.substr(verdictAt, out.find(L"\r\n", verdictAt) - verdictAt);
  if (c.works) {
    EXPECT_EQ(verdict, LoadText(IDS_ACCESS_WORKS));
  } else {
    const std::wstring fails = LoadText(IDS_ACCESS_FAILS);
    EXPECT_EQ(verdict.rfind(fails.substr(0, fails.find(L"[*]")), 0), 0u) << verdict;
    // (Each run has a scratch folder of its own name: the texts differ there.)
    EXPECT_NE(verdict.find(AccessStepTitle(static_cast<AccessStepName>(failedAt))),
              std::wstring::npos)
        << verdict;
    EXPECT_NE(verdict.find(c.messageStart), std::wstring::npos) << verdict;
  }
  EXPECT_LT(section, out.rfind(LoadText(IDS_REPORT_CURRENT)));
  // Under the failed step, a line for each of the connection's errors.
  if (c.errors) {
    EXPECT_NE(out.find(L"SQLState " + Wide(c.sqlState)), std::wstring::npos) << text.out;
    EXPECT_NE(out.find(L"NativeError " + std::to_wstring(static_cast<long>(c.nativeError))),
              std::wstring::npos);
  }
}

TEST_F(AccessReport, CheckSaysWhetherDatabaseAccessWorksAndWhyNot) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledComponents components(std::map<std::wstring, std::wstring>{{L"msjet40.dll", L""}});
  InstalledJet jet(L"ver_4_0_8015_0.dll");
  const Case cases[] = {
      {"stand-ins that work", {}, true, nullptr, nullptr, nullptr, L""},
      {"the platform alone",
       {},
       false,
       "classes",
       "ADOX.Catalog",
       "0x800401F3",
       LoadText(IDS_ACCESS_NOT_REGISTERED)},
      {"a provider without its server file",
       {L"works", L"", L"Microsoft.Jet.OLEDB.4.0"},
       false,
       "classes",
       "Microsoft.Jet.OLEDB.4.0",
       "0x80070002",
       L""},
      {"an open that fails",
       {L"open-fails"},
       false,
       "roundtrip",
       nullptr,
       "0x80004005",
       L"Unrecognized database format",
       2,
       -534774612,
       "3343"},
      {"a value that comes back changed",
       {L"wrong-value"},
       false,
       "roundtrip",
       nullptr,
       nullptr,
       L""},
      {"a provider that crashes",
       {L"crash-roundtrip"},
       false,
       "roundtrip",
       nullptr,
       nullptr,
       FormatPlaceholders(LoadText(IDS_ACCESS_ENDED), {L"0xC0000005"})},
  };
  for (const Case& c : cases) CheckReports(c, std::string(c.what) != "the platform alone");
}

}  // namespace
