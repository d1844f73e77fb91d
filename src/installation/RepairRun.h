#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ComponentCatalogue.h"
#include "RegistrationOutcome.h"

// The one repair run: what the repair page and the quiet repair share, so that
// the two cannot drift apart.

// Every catalogue entry takes at least these pauses, also one that is not
// registered: before it, so that the user can read the file's name, and
// after it.
constexpr DWORD kPauseBeforeEntry = 50;  // ms
constexpr DWORD kPauseAfterEntry = 150;

// The entry each component is asked to register itself with.
constexpr char kRegistrationEntry[] = "DllRegisterServer";

// Told what the run does, in the order it does it, by the one who shows it.
class RepairObserver {
 public:
  virtual ~RepairObserver() = default;
  // The entry is taken in hand; its first pause follows.
  virtual void EntryStarted(std::size_t index, const ComponentFile& e) = 0;
  // What its registration came to; only for an entry that is registered.
  // None when it failed in this process before it had an outcome.
  virtual void Registered(std::size_t index, const ComponentFile& e,
                          const std::optional<RegistrationOutcome>& outcome) = 0;
  // The entry is done, registered or not.
  virtual void EntryDone(std::size_t index, const ComponentFile& e) = 0;
  // Once after each entry, and while a component is in hand whenever messages
  // arrive for this thread: the time to handle them. False: no more calls
  // while this component is in hand.
  virtual bool Waiting() = 0;
  // Asked after each entry: true ends the run before the next one.
  virtual bool StopRequested() = 0;
};

enum class RepairEnd { Finished, Stopped };

struct RepairRunOptions {
  // The program started as registration helper (this program itself).
  std::wstring helperProgram;
  // When the first entry's pause began; none: when the first entry is taken
  // in hand, as for every other entry.
  std::optional<std::chrono::steady_clock::time_point> firstPauseFrom;
};

// Walks `components` in order: each entry gets its pause before, its
// registration through the helper unless it is marked bNoRegister, and its
// pause after. A run that registers nothing starts no helper; the helper
// ends within the last entry's pause. Returns Stopped when the observer asked
// for the end; the entry in hand was finished first.
RepairEnd RunRepair(const std::vector<ComponentFile>& components, const RepairRunOptions& options,
                    RepairObserver& observer);
