// The reports of the windowless check and repair, and the rows they share
// with the file list: built natively too.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "InstallationFindings.h"
#include "JsonValue.h"
#include "ReportWriters.h"

namespace {

// A record as read: "N/A" stands for a version that could not be read.
ComponentFile File(const std::wstring& name, const std::wstring& version, bool notListed = false) {
  ComponentFile f;
  f.sFileName = name;
  f.sPath = L"C:\\Common\\" + name;
  unsigned major = 0, minor = 0, build = 0;
  if (std::swscanf(version.c_str(), L"%u.%u.%u", &major, &minor, &build) == 3)
    f.version = FileVersion{static_cast<std::uint16_t>(major), static_cast<std::uint16_t>(minor),
                            static_cast<std::uint16_t>(build), 0};
  f.bNotListed = notListed;
  return f;
}

const std::wstring kNotAvailable = L"Not available";

TEST(FileListRows, ListedFilesInOrderWithTheirMarks) {
  const std::vector<ComponentFile> components = {
      File(L"A.DLL", L"2.81.1117"), File(L"B.DLL", L"2.80.1022"), File(L"URL.DLL", L"2.81.1", true),
      File(L"C.DLL", L"N/A"), File(L"D.DLL", L"2.810.5")};
  const std::vector<FileListRow> rows = FileListRows(components, L"2.81", kNotAvailable);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].name, L"A.DLL");
  EXPECT_TRUE(rows[0].matches);
  EXPECT_TRUE(rows[0].readable);
  EXPECT_EQ(rows[0].path, L"C:\\Common\\A.DLL");
  EXPECT_FALSE(rows[1].matches);
  EXPECT_EQ(rows[2].index, 3u);  // the catalogue record, past the one not listed
  EXPECT_FALSE(rows[2].readable);
  EXPECT_FALSE(rows[2].matches);
  EXPECT_EQ(rows[2].path, L"Not available");
  EXPECT_TRUE(rows[3].matches);  // the page's rule: the version begins with the release
  // Without a release the pattern is "*" alone; a file not read still matches nothing.
  for (const FileListRow& row : FileListRows(components, L"", kNotAvailable))
    EXPECT_EQ(row.matches, row.readable);
}

// Whether a version was read is known, not recovered from the texts shown: a
// translation whose not-available text reads like a version changes nothing.
TEST(FileListRows, ANotAvailableTextThatReadsLikeAVersionChangesNothing) {
  const std::vector<ComponentFile> components = {File(L"A.DLL", L"2.81.1117"),
                                                 File(L"C.DLL", L"N/A")};
  const std::vector<FileListRow> rows = FileListRows(components, L"2.81", L"2.81.1117");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].readable);
  EXPECT_TRUE(rows[0].matches);
  EXPECT_FALSE(rows[1].readable);
  EXPECT_FALSE(rows[1].matches);
  EXPECT_EQ(rows[1].version, L"N/A");
  EXPECT_EQ(rows[1].path, L"2.81.1117");  // shown, and nothing more
  InstallationFindings found;
  found.files = rows;
  const JsonValue json = JsonValue::Parse(CheckReportJson(found));
  EXPECT_TRUE(json["files"][1]["version"].IsNull());
  EXPECT_TRUE(json["files"][1]["path"].IsNull());
}

TEST(VersionFindings, JetBuildNumberOnlyForAReadableBuild) {
  VersionFindings v;
  v.jet = FileVersion{4, 0, 8015, 0};
  EXPECT_EQ(v.JetBuildNumber(), 8015u);
  v.jet = FileVersion{4, 0, 9000, 65535};  // the fourth part where it is not 0
  EXPECT_EQ(v.JetBuildNumber(), 65535u);
  v.jet.reset();
  EXPECT_FALSE(v.JetBuildNumber());
}

TEST(ReportText, Utf8OfEveryKindOfCharacter) {
  EXPECT_EQ(ToUtf8(L"MSADO15.DLL"), "MSADO15.DLL");
  EXPECT_EQ(ToUtf8(L"Gr\u00FC\u00DFe"),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(ToUtf8(L"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(ToUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");  // a pair in UTF-16
  // A surrogate without its partner is not passed on as an invalid sequence.
  EXPECT_EQ(ToUtf8(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'b'}),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(ToUtf8(std::wstring{static_cast<wchar_t>(0xDC00)}), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(std::wstring{L'x', L'\0', L'y'}), std::string("x\0y", 3));
}

TEST(ReportText, JsonStringsSurviveAStrictReader) {
  const std::wstring nasty = L"C:\\Pfad \"mit\" \u00C4rger\t\r\n\x01\x1F/\u2028\U0001F600";
  EXPECT_EQ(JsonString(L"a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString(std::wstring{L'\x01'}), "\"\\u0001\"");
  EXPECT_EQ(JsonValue::Parse(JsonString(nasty)).text, ToUtf8(nasty));
}

TEST(ReportText, OnOneLine) {
  EXPECT_EQ(OnOneLine(L"A problem with 'X':\nModule not found.\r\n"),
            L"A problem with 'X': Module not found.");
  EXPECT_EQ(OnOneLine(L"a\r\rb\n\nc"), L"a b c");
  EXPECT_EQ(OnOneLine(L"a \nb"), L"a b");
  EXPECT_EQ(OnOneLine(L""), L"");
}

InstallationFindings Sample() {
  InstallationFindings found;
  VersionFindings& v = found.versions;
  v.fullInstallVer = L"2.80.1022.0";
  v.sMDACVersion = L"2.80";
  v.mdacCurrent = false;
  v.mdacOffersDownload = true;
  v.mdacText = L"MDAC 2.80.\nOld.";
  v.jet = FileVersion{4, 0, 9025, 0};
  v.jetCurrent = true;
  v.jetText = L"Jet 4.0.9025.\rCurrent.";
  found.osVersionCode = 8;
  std::vector<ComponentFile> files = {File(L"MSADO15.DLL", L"2.80.1022"),
                                      File(L"MSADRH15.DLL", L"N/A"),
                                      File(L"OLEDB32.DLL", L"2.81.1117")};
  found.files = FileListRows(files, v.sMDACVersion, kNotAvailable);
  return found;
}

TEST(CheckReport, JsonHasTheFixedKeysAndValueForms) {
  const JsonValue json = JsonValue::Parse(CheckReportJson(Sample()));
  EXPECT_EQ(json.keys, (std::vector<std::string>{"mdac", "jet", "os", "files"}));
  EXPECT_EQ(json["mdac"]["release"].text, "2.80");
  EXPECT_EQ(json["mdac"]["installed"].text, "2.80.1022.0");
  EXPECT_EQ(json["mdac"]["verdict"].text, "update");
  EXPECT_EQ(json["jet"]["version"].text, "4.0.9025");
  EXPECT_EQ(json["jet"]["build"].kind, JsonValue::Kind::Number);
  EXPECT_EQ(json["jet"]["build"].number, 9025);
  EXPECT_EQ(json["jet"]["verdict"].text, "current");
  EXPECT_EQ(json["os"]["code"].number, 8);
  ASSERT_EQ(json["files"].items.size(), 3u);
  const JsonValue& missing = json["files"][1];
  EXPECT_EQ(missing.keys, (std::vector<std::string>{"name", "version", "path", "matches"}));
  EXPECT_EQ(missing["name"].text, "MSADRH15.DLL");
  EXPECT_TRUE(missing["version"].IsNull());
  EXPECT_TRUE(missing["path"].IsNull());
  EXPECT_EQ(json["files"][0]["path"].text, "C:\\Common\\MSADO15.DLL");
  EXPECT_TRUE(json["files"][0]["matches"].boolean);
  EXPECT_EQ(json["files"][2]["matches"].kind, JsonValue::Kind::Boolean);
  EXPECT_FALSE(json["files"][2]["matches"].boolean);
}

TEST(CheckReport, JsonNullsForWhatCouldNotBeRead) {
  InstallationFindings found = Sample();
  found.versions.fullInstallVer.reset();
  found.versions.sMDACVersion.clear();
  found.versions.jet.reset();
  found.files.clear();
  const JsonValue json = JsonValue::Parse(CheckReportJson(found));
  EXPECT_EQ(json["mdac"]["release"].kind, JsonValue::Kind::String);
  EXPECT_EQ(json["mdac"]["release"].text, "");
  EXPECT_TRUE(json["mdac"]["installed"].IsNull());
  EXPECT_TRUE(json["jet"]["version"].IsNull());
  EXPECT_TRUE(json["jet"]["build"].IsNull());
  EXPECT_EQ(json["files"].kind, JsonValue::Kind::Array);
  // An empty value read from the registry is not an absent one.
  found.versions.fullInstallVer = L"";
  EXPECT_EQ(JsonValue::Parse(CheckReportJson(found))["mdac"]["installed"].kind,
            JsonValue::Kind::String);
}

CheckReportTexts Texts() {
  CheckReportTexts t;
  t.caption = L"Program";
  t.mdacHeader = L"MDAC header";
  t.jetHeader = L"Jet header";
  t.downloadUrl = L"http://download";
  t.osLine = L"OS 8";
  t.fileName = L"Name";
  t.fileVersion = L"Version";
  t.path = L"Path";
  t.matches = L"Matches 2.80";
  t.yes = L"yes";
  t.no = L"no";
  t.resultCurrent = L"All current.";
  t.resultUpdate = L"Update!";
  return t;
}

TEST(CheckReport, TextHasThePageTextsAndAlignedColumns) {
  const std::wstring text = CheckReportText(Sample(), Texts());
  EXPECT_EQ(text,
            L"Program\n\n"
            L"MDAC header\nMDAC 2.80.\nOld.\n\n"
            L"Jet header\nJet 4.0.9025.\nCurrent.\nhttp://download\n\n"
            L"OS 8\n\n"
            L"Name          Version    Matches 2.80  Path\n"
            L"MSADO15.DLL   2.80.1022  yes           C:\\Common\\MSADO15.DLL\n"
            L"MSADRH15.DLL  N/A        no            Not available\n"
            L"OLEDB32.DLL   2.81.1117  no            C:\\Common\\OLEDB32.DLL\n\n"
            L"Update!\n");
}

TEST(CheckReport, TextWithoutALinkWhenThePageOffersNone) {
  InstallationFindings found = Sample();
  found.versions.mdacCurrent = true;
  found.versions.mdacOffersDownload = false;
  const std::wstring text = CheckReportText(found, Texts());
  EXPECT_EQ(text.find(L"http://download"), std::wstring::npos);
  EXPECT_NE(text.find(L"\nAll current.\n"), std::wstring::npos);
  // A Jet problem always offers the link, as the page does.
  found.versions.jetCurrent = false;
  EXPECT_NE(CheckReportText(found, Texts()).find(L"http://download"), std::wstring::npos);
}

TEST(RepairReport, FailuresOnOneLineEachThenTheSummary) {
  const std::vector<RepairReportLine> results = {
      {L"MSADO15.DLL", L"C:\\a\\MSADO15.DLL", true, L""},
      {L"MSADRH15.DLL", L"C:\\a\\MSADRH15.DLL", false,
       L"Problem with 'MSADRH15.DLL':\nNot found.\r\n"},
      {L"MSJRO.DLL", L"C:\\a\\MSJRO.DLL", false, L"MSJRO.DLL could not be registered."}};
  EXPECT_EQ(RepairReportText(results, L"1 of 3 registered, 2 failed."),
            L"MSADRH15.DLL\tProblem with 'MSADRH15.DLL': Not found.\n"
            L"MSJRO.DLL\tMSJRO.DLL could not be registered.\n"
            L"1 of 3 registered, 2 failed.\n");
  const JsonValue json = JsonValue::Parse(RepairReportJson(results));
  EXPECT_EQ(json["registered"].number, 1);
  EXPECT_EQ(json["failed"].number, 2);
  ASSERT_EQ(json["files"].items.size(), 3u);
  EXPECT_TRUE(json["files"][0]["registered"].boolean);
  EXPECT_TRUE(json["files"][0]["message"].IsNull());
  EXPECT_EQ(json["files"][1]["message"].text, "Problem with 'MSADRH15.DLL': Not found.");
  EXPECT_EQ(json["files"][2]["path"].text, "C:\\a\\MSJRO.DLL");
  EXPECT_EQ(JsonValue::Parse(RepairReportJson({}))["files"].items.size(), 0u);
}

}  // namespace
