#include "AccessProtocol.h"

#include <algorithm>

namespace AccessProtocol {

using HelperFraming::PayloadReader;
using HelperFraming::PayloadWriter;

std::vector<std::uint8_t> RunRequest(AccessDatabaseKind kind, const std::wstring& folder) {
  return PayloadWriter()
      .Word(static_cast<std::uint32_t>(kind))
      .Text(folder, kMaxFolderUnits)
      .Take();
}

bool ReadRunRequest(const std::vector<std::uint8_t>& payload, std::uint32_t& kind,
                    std::wstring& folder) {
  PayloadReader reader(payload);
  return reader.Word(kind) && reader.Text(folder, kMaxFolderUnits) && reader.AtEnd();
}

std::vector<std::uint8_t> Begins(AccessStepName step) {
  return PayloadWriter().Word(static_cast<std::uint32_t>(step)).Take();
}

std::vector<std::uint8_t> Step(const AccessStep& step) {
  PayloadWriter out;
  out.Word(static_cast<std::uint32_t>(step.step))
      .Word(static_cast<std::uint32_t>(step.outcome))
      .Word(static_cast<std::uint32_t>(step.hresult))
      .Text(step.className, kMaxTextUnits)
      .Text(step.serverFile, kMaxTextUnits)
      .Text(step.message, kMaxTextUnits);
  const std::size_t errors = std::min(step.errors.size(), kMaxErrors);
  out.Word(static_cast<std::uint32_t>(errors));
  for (std::size_t i = 0; i < errors; ++i) {
    const AccessError& e = step.errors[i];
    out.Word(static_cast<std::uint32_t>(e.number))
        .Word(static_cast<std::uint32_t>(e.nativeError))
        .Text(e.description, kMaxTextUnits)
        .Text(e.sqlState, kMaxShortUnits)
        .Text(e.source, kMaxShortUnits);
  }
  return out.Take();
}

bool Reader::Take(const HelperFraming::Record& record) {
  if (broken_) return false;
  if (!TakeRecord(record)) broken_ = true;
  return !broken_;
}

bool Reader::TakeRecord(const HelperFraming::Record& record) {
  if (finished_) return false;  // nothing may follow the end
  PayloadReader payload(record.payload);
  switch (record.tag) {
    case kBegins: {
      std::uint32_t step = 0;
      // A step may be left out (not run), but none comes twice or back.
      if (!payload.Word(step) || !payload.AtEnd() || inHand_ || step < nextStep_ ||
          step >= kAccessStepCount)
        return false;
      nextStep_ = step;
      inHand_ = static_cast<AccessStepName>(step);
      return true;
    }
    case kStep: {
      std::uint32_t step = 0, outcome = 0, hresult = 0, errors = 0;
      AccessStep reported;
      if (!payload.Word(step) || !payload.Word(outcome) || !payload.Word(hresult) ||
          !payload.Text(reported.className, kMaxTextUnits) ||
          !payload.Text(reported.serverFile, kMaxTextUnits) ||
          !payload.Text(reported.message, kMaxTextUnits) || !payload.Word(errors) ||
          errors > kMaxErrors)
        return false;
      for (std::uint32_t i = 0; i < errors; ++i) {
        AccessError e;
        std::uint32_t number = 0, native = 0;
        if (!payload.Word(number) || !payload.Word(native) ||
            !payload.Text(e.description, kMaxTextUnits) ||
            !payload.Text(e.sqlState, kMaxShortUnits) || !payload.Text(e.source, kMaxShortUnits))
          return false;
        e.number = static_cast<std::int32_t>(number);
        e.nativeError = static_cast<std::int32_t>(native);
        reported.errors.push_back(std::move(e));
      }
      // Only the step in hand can be reported, and only as done.
      if (!payload.AtEnd() || !inHand_ || step != nextStep_ ||
          (outcome != static_cast<std::uint32_t>(AccessOutcome::Passed) &&
           outcome != static_cast<std::uint32_t>(AccessOutcome::Failed)))
        return false;
      reported.step = static_cast<AccessStepName>(step);
      reported.outcome = static_cast<AccessOutcome>(outcome);
      reported.hresult = static_cast<std::int32_t>(hresult);
      result_.steps[step] = std::move(reported);
      lastReported_ = inHand_;
      inHand_.reset();
      ++nextStep_;
      return true;
    }
    case kFinished:
      if (!payload.AtEnd() || inHand_) return false;
      finished_ = true;
      return true;
    default:
      return false;
  }
}

}  // namespace AccessProtocol
