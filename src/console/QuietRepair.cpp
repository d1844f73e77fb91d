#include "QuietRepair.h"

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "ComponentRegistrar.h"
#include "ConsoleAccess.h"
#include "ConsoleOutput.h"
#include "ExecutableName.h"
#include "FormatPlaceholders.h"
#include "InstallationCheck.h"
#include "LoadText.h"
#include "RegistrationReport.h"
#include "RepairRun.h"
#include "ReportWriters.h"
#include "SystemQueries.h"
#include "TextIds.h"

namespace {

RepairReportLine Register(ComponentRegistrar& registrar, const std::wstring& path) {
  RepairReportLine line;
  line.name = FileNamePart(path);
  line.path = path;
  try {
    const RegistrationOutcome outcome = registrar.Register(path, kRegistrationEntry);
    const std::optional<std::wstring> problem = RegistrationProblemText(outcome, line.name);
    line.registered = !problem;
    line.description = problem.value_or(L"");
  } catch (...) {
    // As the wizard does when anything after the load fails.
    line.registered = false;
    line.description = FormatPlaceholders(LoadText(IDS_REGISTER_PROBLEM), {line.name});
  }
  return line;
}

void SleepUntil(ULONGLONG end) {
  const ULONGLONG now = GetTickCount64();
  if (now < end) Sleep(static_cast<DWORD>(end - now));
}

}  // namespace

int RepairQuietly(bool json) {
  // The run starts with the first entry's pause; the helper's start and the
  // reading of the catalogue fall within it, and the helper's end within the
  // last entry's pause after it. Every registration still has its full
  // pauses before and after it.
  ULONGLONG pauseEnd = GetTickCount64() + kPauseBeforeEntry;
  std::optional<ComponentRegistrar> registrar(std::in_place, ExecutablePath());
  const std::vector<ComponentFile> components =
      ReadComponentList(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), SystemFolder());
  std::vector<RepairReportLine> results;
  for (std::size_t i = 0; i < components.size(); ++i) {
    const ComponentFile& e = components[i];
    if (i > 0) pauseEnd = GetTickCount64() + kPauseBeforeEntry;
    SleepUntil(pauseEnd);
    if (!e.bNoRegister) results.push_back(Register(*registrar, e.sLoadPath));
    pauseEnd = GetTickCount64() + kPauseAfterEntry;
    if (i + 1 == components.size()) registrar.reset();
    SleepUntil(pauseEnd);
  }
  const auto failed = static_cast<int>(std::count_if(
      results.begin(), results.end(), [](const RepairReportLine& r) { return !r.registered; }));
  const int total = static_cast<int>(results.size());
  // What the registrations achieved for the programs that use them.
  const AccessTestResult access = TestDatabaseAccess();
  ConsoleStream out(ConsoleStream::Which::Output);
  const bool written =
      json ? out.WriteUtf8(RepairReportJson(results, AccessReportJson(access)))
           : out.Write(RepairReportText(
                 results,
                 FormatPlaceholders(LoadText(IDS_REPAIR_SUMMARY), {total - failed, total, failed}),
                 AccessReportText(access, LoadAccessReportTexts(access, true))));
  // The registrations are done whether or not the report could be written:
  // the exit code still counts the files that failed.
  if (!written) WriteNotWrittenReason(out.error());
  return failed;
}
