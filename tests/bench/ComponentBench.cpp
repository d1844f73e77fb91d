// Figures, not a test: how long the catalogue build and a whole repair run
// take with stand-ins at the catalogue's paths. Run by tools/bench.sh.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "InstalledComponents.h"
#include "MessageBoxCatcher.h"
#include "frmMain.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchForm : public frmMain {
 public:
  explicit BenchForm(std::wstring program = ProgramPath()) : frmMain(Options{false, program}) {}
  using frmMain::BuildComponentList;
};

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

TEST(Bench, CatalogueAndRepair) {
  InstalledComponents installed({});
  Registrations::Clear();
  BenchForm form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));

  constexpr int kRounds = 50;
  form.BuildComponentList();  // warm the file cache
  const auto start = Clock::now();
  for (int i = 0; i < kRounds; ++i) form.BuildComponentList();
  const double build = Milliseconds(Clock::now() - start) / kRounds;

  form.Press(ControlId::cmdWeiter);
  form.Press(ControlId::cmdWeiter);
  MessageBoxCatcher boxes;
  const auto repairStart = Clock::now();
  form.Press(ControlId::cmdRepairMDAC);
  const double repair = Milliseconds(Clock::now() - repairStart);
  Registrations::Clear();

  constexpr double kPauses = 31 * (50 + 150);
  std::printf("BuildComponentList (31 files): %.2f ms on average over %d rounds\n", build, kRounds);
  std::printf(
      "repair run (24 registrations) through the helper: %.0f ms = %.3f x the %.0f ms of pauses "
      "(%.1f %% above)\n",
      repair, repair / kPauses, kPauses, 100.0 * (repair / kPauses - 1));
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
