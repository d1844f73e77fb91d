#include "RepairRun.h"

#include <algorithm>

#include "ComponentRegistrar.h"

namespace {

void SleepUntil(ULONGLONG end) {
  const ULONGLONG now = GetTickCount64();
  if (now < end) Sleep(static_cast<DWORD>(end - now));
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
    const ULONGLONG pauseFrom =
        i == 0 && options.firstPauseFrom ? *options.firstPauseFrom : GetTickCount64();
    SleepUntil(pauseFrom + kPauseBeforeEntry);
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
    const ULONGLONG pauseEnd = GetTickCount64() + kPauseAfterEntry;
    if (i + 1 == components.size()) registrar.reset();
    SleepUntil(pauseEnd);
  }
  return RepairEnd::Finished;
}
