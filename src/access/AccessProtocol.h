#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AccessTestResult.h"

// What the access helper tells its caller over the inherited pipe, as records
// of 32-bit little-endian words: a tag, the payload's length in
// bytes, the payload.
//   kGreeting   (none)                   once, when the helper is ready
//   kBegins     step                     before a step's work starts
//   kStep       step, outcome, hresult,  when a step is done; each text is its
//               class, server file,      length in UTF-16 units, then the units
//               message
//   kFinished   (none)                   after the last step
// The helper runs component code: whatever arrives is checked against these
// bounds and the order of the steps before anything of it is believed.
namespace AccessProtocol {

inline constexpr std::uint32_t kGreeting = 0x4D414831;  // "MAH1"
inline constexpr std::uint32_t kBegins = 1;
inline constexpr std::uint32_t kStep = 2;
inline constexpr std::uint32_t kFinished = 3;

inline constexpr std::uint32_t kMaxTextUnits = 2048;
inline constexpr std::uint32_t kMaxPayloadBytes = 3 * 4 + 3 * (4 + 2 * kMaxTextUnits);
inline constexpr std::size_t kMaxStreamBytes = 64 * 1024;

std::vector<std::uint8_t> Greeting();
std::vector<std::uint8_t> Begins(AccessStepName step);
// Texts longer than the bound are cut to it.
std::vector<std::uint8_t> Step(const AccessStep& step);
std::vector<std::uint8_t> Finished();

// Reads the helper's records as their bytes arrive, in any pieces.
class Reader {
 public:
  // Takes the bytes that arrived; false once the stream broke a rule (then
  // nothing more is taken and nothing after the last good record is used).
  bool Take(const std::uint8_t* data, std::size_t size);

  bool Broken() const { return broken_; }
  bool Greeted() const { return greeted_; }
  bool FinishedCleanly() const { return finished_ && !broken_; }
  // The step begun last and not yet reported, if any.
  std::optional<AccessStepName> InHand() const { return inHand_; }
  // The steps reported so far, the others not run.
  const AccessTestResult& Result() const { return result_; }

 private:
  bool TakeRecord(std::uint32_t tag, const std::uint8_t* payload, std::uint32_t size);

  std::vector<std::uint8_t> pending_;
  std::size_t total_ = 0;
  bool broken_ = false, greeted_ = false, finished_ = false;
  std::optional<AccessStepName> inHand_;
  std::uint32_t nextStep_ = 0;  // steps are reported in order, each at most once
  AccessTestResult result_;
};

}  // namespace AccessProtocol
