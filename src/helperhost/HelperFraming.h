#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the program and each of its helpers talk, whatever the helper is for:
// records of 32-bit little-endian words, each a tag, the number of the request
// it belongs to, the payload's length in bytes, and the payload.
//   helper, once started:  the greeting (tag 0, request 0), whose payload names
//                          the use it serves
//   caller, per request:   one record of the use's own tags, numbered 1, 2, ...
//   helper, per request:   records of the use's own tags carrying the request's
//                          number, the last of them one of the use's closing tags
// The helper runs component code: nothing that arrives is believed before the
// bounds, the greeting and the request numbers have been checked.
namespace HelperFraming {

inline constexpr std::uint32_t kGreetingTag = 0;
inline constexpr std::size_t kHeaderBytes = 12;

struct Record {
  std::uint32_t tag = 0;
  std::uint32_t request = 0;
  std::vector<std::uint8_t> payload;
};

std::vector<std::uint8_t> Frame(std::uint32_t tag, std::uint32_t request,
                                const std::vector<std::uint8_t>& payload);

// Cuts a byte stream into records, the bytes arriving in pieces of any size.
class Reader {
 public:
  explicit Reader(std::size_t maxPayload) : maxPayload_(maxPayload) {}
  // Takes the bytes that arrived; false once the stream broke a rule (a
  // payload past its bound): then nothing more is taken.
  bool Take(const std::uint8_t* data, std::size_t size);
  // The next whole record, in the order they came.
  std::optional<Record> Next();
  bool Broken() const { return broken_; }

 private:
  std::size_t maxPayload_;
  std::vector<std::uint8_t> pending_;
  std::size_t used_ = 0;  // of pending_, already handed out
  bool broken_ = false;
};

// The caller's side of one helper's talk: the greeting first, then for each
// request the records that carry its number, up to one of the closing tags.
class Conversation {
 public:
  // `use`: what the greeting must name. `maxAnswerBytes`: all the records
  // of one request together, headers included.
  Conversation(std::uint32_t use, std::vector<std::uint32_t> closingTags, std::size_t maxPayload,
               std::size_t maxAnswerBytes);

  // The request the caller has just sent, numbered one more than the last.
  void Asked(std::uint32_t request);
  // Takes the bytes that arrived; false once the helper broke a rule.
  bool Take(const std::uint8_t* data, std::size_t size);
  // The next record of the request in hand that passed every check.
  std::optional<Record> Next();

  bool Greeted() const { return greeted_; }
  bool Broken() const { return broken_; }
  // The request in hand has had its closing record (none is in hand).
  bool Answered() const { return answered_; }

 private:
  bool Check(const Record& record);

  std::uint32_t use_;
  std::vector<std::uint32_t> closingTags_;
  std::size_t maxAnswerBytes_;
  Reader reader_;
  std::vector<Record> ready_;
  std::size_t readyAt_ = 0;
  std::uint32_t request_ = 0;
  std::size_t answerBytes_ = 0;
  bool greeted_ = false, broken_ = false, answered_ = true;
};

// Payloads: 32-bit words, texts as their length in UTF-16 units and the
// units, byte strings as their length and the bytes.
class PayloadWriter {
 public:
  PayloadWriter& Word(std::uint32_t word);
  // Longer texts are cut to `maxUnits`. Where wchar_t is wider (the native
  // build of the tests), each character is cut to its low 16 bits.
  PayloadWriter& Text(const std::wstring& text, std::size_t maxUnits);
  PayloadWriter& Bytes(const std::string& bytes, std::size_t maxBytes);
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// Reads a payload front to back; each read is false when what it wants does
// not fit in what is left, or is longer than its bound.
class PayloadReader {
 public:
  explicit PayloadReader(const std::vector<std::uint8_t>& payload)
      : at_(payload.data()), end_(payload.data() + payload.size()) {}
  bool Word(std::uint32_t& word);
  bool Text(std::wstring& text, std::size_t maxUnits);
  bool Bytes(std::string& bytes, std::size_t maxBytes);
  bool AtEnd() const { return at_ == end_; }

 private:
  const std::uint8_t* at_;
  const std::uint8_t* end_;
};

}  // namespace HelperFraming
