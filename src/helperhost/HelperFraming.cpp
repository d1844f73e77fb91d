#include "HelperFraming.h"

#include <algorithm>

namespace HelperFraming {
namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(word >> shift));
}

std::uint32_t WordAt(const std::uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

}  // namespace

std::vector<std::uint8_t> Frame(std::uint32_t tag, std::uint32_t request,
                                const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + payload.size());
  PutWord(out, tag);
  PutWord(out, request);
  PutWord(out, static_cast<std::uint32_t>(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

bool Reader::Take(const std::uint8_t* data, std::size_t size) {
  if (broken_) return false;
  // What was handed out goes before more comes in.
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used_));
  used_ = 0;
  pending_.insert(pending_.end(), data, data + size);
  // A length past the bound is refused as soon as its header is in, before
  // any of its payload is kept.
  std::size_t at = 0;
  while (pending_.size() - at >= kHeaderBytes) {
    const std::uint32_t length = WordAt(pending_.data() + at + 8);
    if (length > maxPayload_) return !(broken_ = true);
    if (pending_.size() - at - kHeaderBytes < length) break;
    at += kHeaderBytes + length;
  }
  return true;
}

std::optional<Record> Reader::Next() {
  if (broken_ || pending_.size() - used_ < kHeaderBytes) return std::nullopt;
  const std::uint8_t* at = pending_.data() + used_;
  const std::uint32_t length = WordAt(at + 8);
  if (pending_.size() - used_ - kHeaderBytes < length) return std::nullopt;
  Record record;
  record.tag = WordAt(at);
  record.request = WordAt(at + 4);
  record.payload.assign(at + kHeaderBytes, at + kHeaderBytes + length);
  used_ += kHeaderBytes + length;
  return record;
}

Conversation::Conversation(std::uint32_t use, std::vector<std::uint32_t> closingTags,
                           std::size_t maxPayload, std::size_t maxAnswerBytes)
    : use_(use),
      closingTags_(std::move(closingTags)),
      maxAnswerBytes_(maxAnswerBytes),
      reader_(maxPayload) {}

void Conversation::Asked(std::uint32_t request) {
  request_ = request;
  answerBytes_ = 0;
  answered_ = false;
}

bool Conversation::Take(const std::uint8_t* data, std::size_t size) {
  if (broken_) return false;
  // The reader bounds what waits for the rest of its record; whole records
  // count against the request's bound.
  if (!reader_.Take(data, size)) return !(broken_ = true);
  while (std::optional<Record> record = reader_.Next()) {
    if (greeted_) answerBytes_ += kHeaderBytes + record->payload.size();
    if (answerBytes_ > maxAnswerBytes_ || !Check(*record)) return !(broken_ = true);
    if (record->tag != kGreetingTag) ready_.push_back(std::move(*record));
  }
  return true;
}

bool Conversation::Check(const Record& record) {
  if (!greeted_) {
    std::uint32_t use = 0;
    PayloadReader payload(record.payload);
    if (record.tag != kGreetingTag || record.request != 0 || !payload.Word(use) ||
        !payload.AtEnd() || use != use_)
      return false;
    greeted_ = true;
    return true;
  }
  // Only the request in hand is answered, and nothing after its closing record.
  if (record.tag == kGreetingTag || answered_ || record.request != request_) return false;
  answered_ = std::find(closingTags_.begin(), closingTags_.end(), record.tag) != closingTags_.end();
  return true;
}

std::optional<Record> Conversation::Next() {
  if (readyAt_ == ready_.size()) {
    ready_.clear();
    readyAt_ = 0;
    return std::nullopt;
  }
  return std::move(ready_[readyAt_++]);
}

PayloadWriter& PayloadWriter::Word(std::uint32_t word) {
  PutWord(out_, word);
  return *this;
}

PayloadWriter& PayloadWriter::Text(const std::wstring& text, std::size_t maxUnits) {
  const std::size_t units = std::min(text.size(), maxUnits);
  PutWord(out_, static_cast<std::uint32_t>(units));
  for (std::size_t i = 0; i < units; ++i) {
    const auto unit = static_cast<std::uint16_t>(text[i]);
    out_.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out_.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return *this;
}

PayloadWriter& PayloadWriter::Bytes(const std::string& bytes, std::size_t maxBytes) {
  const std::size_t size = std::min(bytes.size(), maxBytes);
  PutWord(out_, static_cast<std::uint32_t>(size));
  out_.insert(out_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
  return *this;
}

bool PayloadReader::Word(std::uint32_t& word) {
  if (end_ - at_ < 4) return false;
  word = WordAt(at_);
  at_ += 4;
  return true;
}

bool PayloadReader::Text(std::wstring& text, std::size_t maxUnits) {
  std::uint32_t units = 0;
  if (!Word(units) || units > maxUnits || static_cast<std::size_t>(end_ - at_) / 2 < units)
    return false;
  text.clear();
  text.reserve(units);
  for (std::uint32_t i = 0; i < units; ++i, at_ += 2)
    text += static_cast<wchar_t>(at_[0] | (at_[1] << 8));
  return true;
}

bool PayloadReader::Bytes(std::string& bytes, std::size_t maxBytes) {
  std::uint32_t size = 0;
  if (!Word(size) || size > maxBytes || static_cast<std::size_t>(end_ - at_) < size) return false;
  bytes.assign(reinterpret_cast<const char*>(at_), size);
  at_ += size;
  return true;
}

}  // namespace HelperFraming
