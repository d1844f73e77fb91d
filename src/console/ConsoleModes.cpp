#include "ConsoleModes.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "AccessTest.h"
#include "AdministratorRights.h"
#include "CommandLine.h"
#include "CommandLineWords.h"
#include "ConsoleAccess.h"
#include "ConsoleEngines.h"
#include "ConsoleFileChecks.h"
#include "ConsoleOutput.h"
#include "EngineRegistry.h"
#include "ExecutableName.h"
#include "FormatPlaceholders.h"
#include "InstallationCheck.h"
#include "LoadText.h"
#include "QuietRepair.h"
#include "RaisedError.h"
#include "ReportWriters.h"
#include "TextIds.h"
#include "UserFormatLocale.h"

namespace {

constexpr int kCheckCurrent = 0;
constexpr int kCheckUpdate = 1;
constexpr int kCheckNotWritten = 2;

std::vector<std::wstring> Arguments() {
  std::vector<std::wstring> words = CommandLineWords(GetCommandLineW());
  words.erase(words.begin());  // the program's name
  return words;
}

void WriteLine(ConsoleStream::Which which, const std::wstring& line) {
  ConsoleStream(which).Write(line + L"\n");
}

CheckReportTexts LoadCheckReportTexts(const InstallationFindings& found) {
  CheckReportTexts texts;
  texts.caption = LoadText(IDS_CAPTION);
  texts.mdacHeader = LoadText(IDS_MDAC_HEADER);
  texts.jetHeader = LoadText(IDS_JET_HEADER);
  texts.downloadUrl = LoadText(IDS_URL_DOWNLOAD);
  texts.osLine = FormatPlaceholders(LoadText(IDS_REPORT_OS), {found.osVersionCode});
  texts.fileName = LoadText(IDS_FILE_NAME);
  texts.fileVersion = LoadText(IDS_FILE_VERSION);
  texts.path = LoadText(IDS_PATH);
  texts.matches =
      OnOneLine(FormatPlaceholders(LoadText(IDS_REPORT_MATCHES), {found.versions.sMDACVersion}));
  texts.yes = LoadText(IDS_REPORT_YES);
  texts.no = LoadText(IDS_REPORT_NO);
  texts.resultCurrent = LoadText(IDS_REPORT_CURRENT);
  texts.resultUpdate = LoadText(IDS_REPORT_UPDATE);
  return texts;
}

int Check(const CommandLineRequest& request) {
  // The access test's helper starts while this process reads the
  // installation: most of the test is the helper's own start.
  AccessTest accessTest(ExecutablePath());
  accessTest.Start();
  const InstallationFindings found = CheckInstallation();
  const EngineInventory engines = ReadEngineInventory();
  const FileChecksReport files = CheckUserFiles(request, engines);
  const AccessTestResult access = AwaitAccessTest(accessTest);
  ConsoleStream out(ConsoleStream::Which::Output);
  std::wstring text;
  if (!request.json) {
    text = CheckReportText(found, LoadCheckReportTexts(found),
                           AccessReportText(access, LoadAccessReportTexts(access, false)) + L"\n" +
                               EngineReportText(engines, LoadEngineReportTexts(engines)));
    if (!files.text.empty()) text += L"\n" + files.text;
  }
  std::vector<std::pair<std::string, std::string>> more = {{"engines", EngineReportJson(engines)}};
  more.insert(more.end(), files.json.begin(), files.json.end());
  const bool written = request.json
                           ? out.WriteUtf8(CheckReportJson(found, AccessReportJson(access), more))
                           : out.Write(text);
  if (!written) {
    WriteNotWrittenReason(out.error());
    return kCheckNotWritten;
  }
  // A machine whose programs cannot reach a database needs attention as much
  // as one with an outdated release, and so does the user's database file.
  // An engine missing for programs of one width alone is no fault of the
  // machine: the report says it.
  return found.versions.UpdateRecommended() || !access.Works() || files.attention ? kCheckUpdate
                                                                                  : kCheckCurrent;
}

int Usage(ConsoleStream::Which which) {
  WriteLine(which, LoadText(IDS_CAPTION) + L"\n\n" + LoadText(IDS_USAGE));
  return which == ConsoleStream::Which::Output ? 0 : kUsageErrorExitCode;
}

}  // namespace

std::optional<int> RunWithoutWindow() {
  const CommandLineRequest request = ParseCommandLine(Arguments());
  if (request.mode == ProgramMode::Wizard) return std::nullopt;
  // Nothing the platform would ask in a box (a drive without a disk) may stop
  // a run that nobody watches.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  FormatLocale::SetCurrent(UserFormatLocale());
  try {
    switch (request.mode) {
      case ProgramMode::Usage:
        return Usage(ConsoleStream::Which::Output);
      case ProgramMode::UsageError:
        return Usage(ConsoleStream::Which::Error);
      case ProgramMode::Check:
        return Check(request);
      case ProgramMode::Repair:
        // Nothing is tried where it cannot succeed: one line says why.
        if (!HasAdministratorRights()) {
          WriteLine(ConsoleStream::Which::Error, LoadText(IDS_REPAIR_NEEDS_ADMIN_LINE));
          return kRepairNeedsAdministratorExitCode;
        }
        return RepairQuietly(request.json);
      case ProgramMode::Wizard:
        break;
    }
  } catch (const RaisedError& e) {
    WriteLine(ConsoleStream::Which::Error, OnOneLine(e.description));
  } catch (const std::exception& e) {
    const std::string what = e.what();
    WriteLine(ConsoleStream::Which::Error, std::wstring(what.begin(), what.end()));
  } catch (...) {
    // Whatever else was thrown: the run ends with its failure code, as a
    // window procedure stops everything before it reaches the platform.
    WriteLine(ConsoleStream::Which::Error, LoadText(IDS_CAPTION));
  }
  return kCheckNotWritten;
}
