#pragma once

#include <cstdint>

#include "RegistrationOutcome.h"

// What the wizard and its registration helper say to each other over their
// pipe, all in 32-bit words of the machine's byte order:
//   helper, once started:  kHelperGreeting
//   wizard, per file:      a sequence number, path length (UTF-16 units), the
//                          path, entry name length (bytes), the entry name
//   helper, per file:      the answer below, carrying the request's number
// The pipe is not the helper's standard input or output: those lead nowhere,
// so that a component that writes or reads them cannot take part.
namespace RegistrationProtocol {

inline constexpr std::uint32_t kHelperGreeting = 0x4D524831;  // "MRH1"
// Longer paths and names are refused by the helper, which then ends.
inline constexpr std::uint32_t kMaxPathUnits = 32768;
inline constexpr std::uint32_t kMaxEntryBytes = 1024;

struct Answer {
  std::uint32_t sequence;
  std::uint32_t loaded;
  std::uint32_t loadError;
  std::uint32_t entryFound;
  std::int32_t entryResult;
};

inline Answer ToAnswer(std::uint32_t sequence, const RegistrationOutcome& outcome) {
  return {sequence, outcome.loaded ? 1u : 0u, outcome.loadError, outcome.entryFound ? 1u : 0u,
          outcome.entryResult};
}

inline RegistrationOutcome FromAnswer(const Answer& answer) {
  RegistrationOutcome outcome;
  outcome.loaded = answer.loaded != 0;
  outcome.loadError = answer.loadError;
  outcome.entryFound = answer.entryFound != 0;
  outcome.entryResult = answer.entryResult;
  return outcome;
}

}  // namespace RegistrationProtocol
