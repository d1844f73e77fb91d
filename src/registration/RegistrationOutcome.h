#pragma once

#include <cstdint>

// How long a component's registration may take before it is stopped.
inline constexpr std::uint32_t kEntryTimeLimitMs = 30000;

// What happened to one component file when its registration entry was called,
// as a plain value: the wizard turns it into a message box, a report without a
// window can turn it into a line of text.
struct RegistrationOutcome {
  bool loaded = false;
  std::uint32_t loadError = 0;  // the system's error code when the load failed
  bool entryFound = false;
  std::int32_t entryResult = 0;  // the entry's status code; negative is a failure
  // The helper process ended while the component was in hand (an access
  // violation, a foreign exception, a stack overflow, ...).
  bool crashed = false;
  std::uint32_t exceptionCode = 0;
  // The component did not finish in time and its helper was ended.
  bool timedOut = false;
  std::uint32_t timeLimitMs = 0;
  // No helper could be started (or the program started did not answer as
  // one): the component was not loaded.
  bool helperUnavailable = false;

  bool Succeeded() const {
    return !helperUnavailable && !crashed && !timedOut && loaded && entryFound && entryResult >= 0;
  }
};
