#pragma once

#include <vector>

#include "RepairRun.h"
#include "ReportWriters.h"

// The repair of the wizard's repair page without a window or a message box:
// the same entries in the same order with the same pauses. Writes one line
// per file that failed and a summary (or JSON) to standard output and returns
// the number of files that failed.
int RepairQuietly(bool json);

// How the quiet repair keeps the run: one line per registration, with the
// text the page's message box would show for a failure.
class QuietRepairObserver : public RepairObserver {
 public:
  void EntryStarted(std::size_t, const ComponentFile&) override {}
  void Registered(std::size_t index, const ComponentFile& e,
                  const std::optional<RegistrationOutcome>& outcome) override;
  void EntryDone(std::size_t, const ComponentFile&) override {}
  bool Waiting() override { return false; }  // no window to keep alive
  bool StopRequested() override { return false; }

  const std::vector<RepairReportLine>& lines() const { return lines_; }

 private:
  std::vector<RepairReportLine> lines_;
};
