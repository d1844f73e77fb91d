#include "AccessProtocol.h"

#include <algorithm>

namespace AccessProtocol {
namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(word >> shift));
}

// UTF-16 units: where wchar_t is wider (the native test build), each
// character is cut to its low 16 bits, which the tests' texts survive.
void PutText(std::vector<std::uint8_t>& out, const std::wstring& text) {
  const auto units = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), kMaxTextUnits));
  PutWord(out, units);
  for (std::uint32_t i = 0; i < units; ++i) {
    const auto unit = static_cast<std::uint16_t>(text[i]);
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

std::vector<std::uint8_t> Record(std::uint32_t tag, const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> out;
  PutWord(out, tag);
  PutWord(out, static_cast<std::uint32_t>(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

std::uint32_t Word(const std::uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// Reads one counted text from [at, end); false when it does not fit.
bool GetText(const std::uint8_t*& at, const std::uint8_t* end, std::wstring& text) {
  if (end - at < 4) return false;
  const std::uint32_t units = Word(at);
  at += 4;
  if (units > kMaxTextUnits || static_cast<std::size_t>(end - at) < units * 2u) return false;
  text.clear();
  for (std::uint32_t i = 0; i < units; ++i, at += 2)
    text += static_cast<wchar_t>(at[0] | (at[1] << 8));
  return true;
}

}  // namespace

std::vector<std::uint8_t> Greeting() {
  std::vector<std::uint8_t> out;
  PutWord(out, kGreeting);
  return out;
}

std::vector<std::uint8_t> Begins(AccessStepName step) {
  std::vector<std::uint8_t> payload;
  PutWord(payload, static_cast<std::uint32_t>(step));
  return Record(kBegins, payload);
}

std::vector<std::uint8_t> Step(const AccessStep& step) {
  std::vector<std::uint8_t> payload;
  PutWord(payload, static_cast<std::uint32_t>(step.step));
  PutWord(payload, static_cast<std::uint32_t>(step.outcome));
  PutWord(payload, static_cast<std::uint32_t>(step.hresult));
  PutText(payload, step.className);
  PutText(payload, step.serverFile);
  PutText(payload, step.message);
  return Record(kStep, payload);
}

std::vector<std::uint8_t> Finished() { return Record(kFinished, {}); }

bool Reader::Take(const std::uint8_t* data, std::size_t size) {
  if (broken_) return false;
  total_ += size;
  if (total_ > kMaxStreamBytes) return !(broken_ = true);
  pending_.insert(pending_.end(), data, data + size);
  std::size_t used = 0;
  if (!greeted_) {
    if (pending_.size() < 4) return true;
    if (Word(pending_.data()) != kGreeting) return !(broken_ = true);
    greeted_ = true;
    used = 4;
  }
  while (pending_.size() - used >= 8) {
    const std::uint32_t tag = Word(pending_.data() + used);
    const std::uint32_t length = Word(pending_.data() + used + 4);
    if (length > kMaxPayloadBytes) return !(broken_ = true);
    if (pending_.size() - used - 8 < length) break;
    if (!TakeRecord(tag, pending_.data() + used + 8, length)) return !(broken_ = true);
    used += 8 + length;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
  return true;
}

bool Reader::TakeRecord(std::uint32_t tag, const std::uint8_t* payload, std::uint32_t size) {
  if (finished_) return false;  // nothing may follow the end
  const std::uint8_t* at = payload;
  const std::uint8_t* end = payload + size;
  switch (tag) {
    case kBegins: {
      // A step may be left out (not run), but none comes twice or back.
      if (size != 4 || inHand_ || Word(at) < nextStep_ || Word(at) >= kAccessStepCount)
        return false;
      nextStep_ = Word(at);
      inHand_ = static_cast<AccessStepName>(nextStep_);
      return true;
    }
    case kStep: {
      if (size < 12) return false;
      const std::uint32_t step = Word(at), outcome = Word(at + 4);
      // Only the step in hand can be reported, and only as done.
      if (!inHand_ || step != nextStep_ ||
          (outcome != static_cast<std::uint32_t>(AccessOutcome::Passed) &&
           outcome != static_cast<std::uint32_t>(AccessOutcome::Failed)))
        return false;
      AccessStep reported;
      reported.step = static_cast<AccessStepName>(step);
      reported.outcome = static_cast<AccessOutcome>(outcome);
      reported.hresult = static_cast<std::int32_t>(Word(at + 8));
      at += 12;
      if (!GetText(at, end, reported.className) || !GetText(at, end, reported.serverFile) ||
          !GetText(at, end, reported.message) || at != end)
        return false;
      result_.steps[step] = reported;
      inHand_.reset();
      ++nextStep_;
      return true;
    }
    case kFinished:
      if (size != 0 || inHand_) return false;
      finished_ = true;
      return true;
    default:
      return false;
  }
}

}  // namespace AccessProtocol
