#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AccessDatabases.h"
#include "AccessTestResult.h"
#include "HelperFraming.h"

// What the caller and the access helper say to each other, in the helper
// host's records:
//   caller:  kRun       the database kind, the scratch folder (empty: there is
//                       none, so only the classes are checked)
//   helper:  kBegins    step                     before a step's work starts
//            kStep      step, outcome, hresult,  when a step is done; then the
//                       class, server file,      connection's errors, each its
//                       message, errors          number, native error and
//                                                texts
//            kFinished  (none)                   after the last step
// The helper runs component code: whatever arrives is checked against these
// bounds and the order of the steps before anything of it is believed.
namespace AccessProtocol {

inline constexpr std::uint32_t kUse = 0x4D414832;  // "MAH2", the greeting's
inline constexpr std::uint32_t kRun = 1;
inline constexpr std::uint32_t kBegins = 2;
inline constexpr std::uint32_t kStep = 3;
inline constexpr std::uint32_t kFinished = 4;

inline constexpr std::size_t kMaxTextUnits = 2048;
inline constexpr std::size_t kMaxShortUnits = 256;  // an error's SQL state and source
inline constexpr std::size_t kMaxErrors = 16;
inline constexpr std::size_t kMaxFolderUnits = 32768;
inline constexpr std::size_t kMaxRequestPayload = 4 + 4 + 2 * kMaxFolderUnits;
inline constexpr std::size_t kMaxErrorBytes =
    2 * 4 + (4 + 2 * kMaxTextUnits) + 2 * (4 + 2 * kMaxShortUnits);
inline constexpr std::size_t kMaxPayloadBytes =
    3 * 4 + 3 * (4 + 2 * kMaxTextUnits) + 4 + kMaxErrors * kMaxErrorBytes;
// Everything a helper may say to one request: each step begun and reported,
// and the end.
inline constexpr std::size_t kMaxAnswerBytes =
    kAccessStepCount * (2 * HelperFraming::kHeaderBytes + 4 + kMaxPayloadBytes) +
    HelperFraming::kHeaderBytes;

std::vector<std::uint8_t> RunRequest(AccessDatabaseKind kind, const std::wstring& folder);
bool ReadRunRequest(const std::vector<std::uint8_t>& payload, std::uint32_t& kind,
                    std::wstring& folder);

std::vector<std::uint8_t> Begins(AccessStepName step);
// Texts longer than their bound are cut to it; errors past the first
// kMaxErrors are left out.
std::vector<std::uint8_t> Step(const AccessStep& step);

// Reads the helper's answers to one request.
class Reader {
 public:
  // Takes one record; false once the helper broke a rule (then nothing more
  // is taken and nothing after the last good record is used).
  bool Take(const HelperFraming::Record& record);

  bool Broken() const { return broken_; }
  bool FinishedCleanly() const { return finished_ && !broken_; }
  // The step begun last and not yet reported, if any.
  std::optional<AccessStepName> InHand() const { return inHand_; }
  // The step reported last, if any.
  std::optional<AccessStepName> LastReported() const { return lastReported_; }
  // The steps reported so far, the others not run.
  const AccessTestResult& Result() const { return result_; }

 private:
  bool TakeRecord(const HelperFraming::Record& record);

  bool broken_ = false, finished_ = false;
  std::optional<AccessStepName> inHand_, lastReported_;
  std::uint32_t nextStep_ = 0;  // steps are reported in order, each at most once
  AccessTestResult result_;
};

}  // namespace AccessProtocol
