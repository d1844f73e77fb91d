#include "QuietRepair.h"

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "AccessTest.h"
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

void QuietRepairObserver::Registered(std::size_t, const ComponentFile& e,
                                     const std::optional<RegistrationOutcome>& outcome) {
  RepairReportLine line;
  line.name = FileNamePart(e.sPath);
  line.path = e.sPath;
  bool told = false;
  if (outcome) {
    try {
      const std::optional<std::wstring> problem = RegistrationProblemText(*outcome, line.name);
      line.registered = !problem;
      line.description = problem.value_or(L"");
      told = true;
    } catch (...) {
    }
  }
  // As the wizard does when anything after the load fails.
  if (!told) line.description = FormatPlaceholders(LoadText(IDS_REGISTER_PROBLEM), {line.name});
  lines_.push_back(std::move(line));
}

namespace {

// Starts the access test once the last entry is registered, so that it runs
// within that entry's pause after it rather than after the run.
class QuietRepairThenAccess : public QuietRepairObserver {
 public:
  QuietRepairThenAccess(std::size_t entries, AccessTest& test)
      : last_(entries ? entries - 1 : 0), test_(test) {}
  void EntryDone(std::size_t index, const ComponentFile& e) override {
    QuietRepairObserver::EntryDone(index, e);
    if (index == last_) test_.Start();
  }

 private:
  std::size_t last_;
  AccessTest& test_;
};

}  // namespace

int RepairQuietly(bool json) {
  // The run starts with the first entry's pause; the helper's start and the
  // reading of the catalogue fall within it, and the helper's end within the
  // last entry's pause after it. Every registration still has its full
  // pauses before and after it.
  RepairRunOptions options;
  options.firstPauseFrom = std::chrono::steady_clock::now();
  options.helperProgram = ExecutablePath();
  const std::vector<ComponentFile> components =
      ReadComponentList(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), SystemFolder());
  // What the registrations achieved for the programs that use them.
  AccessTest accessTest(ExecutablePath());
  QuietRepairThenAccess observer(components.size(), accessTest);
  RunRepair(components, options, observer);
  accessTest.Start();  // a run without entries
  const AccessTestResult access = AwaitAccessTest(accessTest);
  const std::vector<RepairReportLine>& results = observer.lines();
  const auto failed = static_cast<int>(std::count_if(
      results.begin(), results.end(), [](const RepairReportLine& r) { return !r.registered; }));
  const int total = static_cast<int>(results.size());
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
