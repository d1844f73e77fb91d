#include "RepairRun.h"

#include <algorithm>

#include "ComponentRegistrar.h"

namespace {

using Clock = std::chrono::steady_clock;

// The tick count moves in steps of 10 to 16 ms: a pause measured on it can
// come out a step short. This clock does not. Whole milliseconds are slept,
// what is left of the last one is yielded away: rounding up would add up to a
// millisecond to each of the run's 62 pauses whenever Sleep wakes a little
// early.
void SleepUntil(Clock::time_point end) {
  for (Clock::time_point now = Clock::now(); now < end; now = Clock::now())
    Sleep(static_cast<DWORD>(std::chrono::floor<std::chrono::milliseconds>(end - now).count()));
}

}  // namespace

RepairEnd RunRepair(const std::vector<ComponentFile>& components, const RepairRunOptions& options,
                    RepairObserver& observer) {
  // The components run in a helper process, so that one that crashes or
  // hangs costs only its own registration.
  std::optional<ComponentRegistrar> registrar;
  if (std::any_of(components.begin(), components.end(),
                  [](const ComponentFile& e) { return !e.bNoRegister; }))
    registrar.emplace(options.helperProgram);
  const auto whileWaiting = [&observer] { return observer.Waiting(); };
  for (std::size_t i = 0; i < components.size(); ++i) {
    const ComponentFile& e = components[i];
    observer.EntryStarted(i, e);
    const Clock::time_point pauseFrom =
        i == 0 && options.firstPauseFrom ? *options.firstPauseFrom : Clock::now();
    SleepUntil(pauseFrom + std::chrono::milliseconds(kPauseBeforeEntry));
    if (!e.bNoRegister) {
      std::optional<RegistrationOutcome> outcome;
      try {
        outcome = registrar->Register(e.sPath, kRegistrationEntry, whileWaiting);
      } catch (...) {
      }
      observer.Registered(i, e, outcome);
    }
    observer.EntryDone(i, e);
    observer.Waiting();
    // The entry in hand is done; no further one starts.
    if (observer.StopRequested()) return RepairEnd::Stopped;
    const Clock::time_point pauseEnd = Clock::now() + std::chrono::milliseconds(kPauseAfterEntry);
    if (i + 1 == components.size()) registrar.reset();
    SleepUntil(pauseEnd);
  }
  return RepairEnd::Finished;
}
