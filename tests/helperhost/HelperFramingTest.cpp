// The one framing of the helpers' talk: every byte from a helper is hostile,
// so the caller's side is checked against streams split at every byte and
// against each rule a helper could break.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "HelperFraming.h"
#include "RegistrationProtocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace F = HelperFraming;

constexpr std::uint32_t kUse = 0x55534531;
constexpr std::uint32_t kPart = 7, kLast = 8;

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Greeting(std::uint32_t use = kUse) {
  return F::Frame(F::kGreetingTag, 0, F::PayloadWriter().Word(use).Take());
}

F::Conversation NewTalk(std::size_t maxPayload = 64, std::size_t maxAnswer = 256) {
  return F::Conversation(kUse, {kLast}, maxPayload, maxAnswer);
}

TEST(HelperFraming, ARequestsAnswersReadInPiecesOfAnySizeComeWholeAndInOrder) {
  const Bytes greeting = Greeting();
  const Bytes answers =
      Join({F::Frame(kPart, 1, F::PayloadWriter().Text(L"Pr\u00fcfung", 16).Take()),
            F::Frame(kPart, 1, {}), F::Frame(kLast, 1, F::PayloadWriter().Word(42).Take())});
  for (std::size_t piece = 1; piece <= answers.size(); ++piece) {
    F::Conversation talk = NewTalk();
    ASSERT_TRUE(talk.Take(greeting.data(), greeting.size()));
    ASSERT_TRUE(talk.Greeted());
    talk.Asked(1);
    std::vector<F::Record> records;
    for (std::size_t at = 0; at < answers.size(); at += piece) {
      ASSERT_TRUE(talk.Take(answers.data() + at, std::min(piece, answers.size() - at)));
      while (auto record = talk.Next()) records.push_back(*record);
    }
    ASSERT_EQ(records.size(), 3u) << piece;
    EXPECT_TRUE(talk.Answered());
    std::wstring text;
    F::PayloadReader first(records[0].payload);
    EXPECT_TRUE(first.Text(text, 16) && first.AtEnd());
    EXPECT_EQ(text, L"Pr\u00fcfung");
    EXPECT_TRUE(records[1].payload.empty());
    EXPECT_EQ(records[2].tag, kLast);
  }
}

// Each stream breaks one rule after a good start; nothing after the break is
// handed out.
TEST(HelperFraming, RefusesWhatNoHelperSays) {
  Bytes hugeLength = F::Frame(kPart, 1, {});
  const std::uint32_t huge = 0x7FFFFFFF;
  std::memcpy(hugeLength.data() + 8, &huge, 4);
  const struct {
    const char* what;
    Bytes stream;
    bool asked;
    std::size_t handedOut;  // the good records before the break
  } cases[] = {
      {"no greeting", F::Frame(kPart, 0, {}), false, 0},
      {"the greeting of another use", Greeting(kUse + 1), false, 0},
      {"a greeting with more in it", F::Frame(F::kGreetingTag, 0, Bytes(8, 0)), false, 0},
      {"talk before any request", Join({Greeting(), F::Frame(kPart, 0, {})}), false, 0},
      {"an answer to another request", Join({Greeting(), F::Frame(kPart, 2, {})}), true, 0},
      {"a second greeting", Join({Greeting(), Greeting()}), true, 0},
      {"anything after the closing answer",
       Join({Greeting(), F::Frame(kLast, 1, {}), F::Frame(kPart, 1, {})}), true, 1},
      {"a payload past its bound", Join({Greeting(), F::Frame(kPart, 1, {}), hugeLength}), true, 0},
      {"more than a request's answers may be",
       Join({Greeting(), F::Frame(kPart, 1, Bytes(64, 1)), F::Frame(kPart, 1, Bytes(64, 1)),
             F::Frame(kPart, 1, Bytes(64, 1)), F::Frame(kPart, 1, Bytes(64, 1))}),
       true, 3},
  };
  for (const auto& c : cases) {
    F::Conversation talk = NewTalk();
    if (c.asked) {
      const Bytes greeting = Greeting();
      ASSERT_TRUE(talk.Take(greeting.data(), greeting.size()));
      talk.Asked(1);
      const Bytes rest(c.stream.begin() + static_cast<std::ptrdiff_t>(greeting.size()),
                       c.stream.end());
      EXPECT_FALSE(talk.Take(rest.data(), rest.size())) << c.what;
    } else {
      EXPECT_FALSE(talk.Take(c.stream.data(), c.stream.size())) << c.what;
    }
    EXPECT_TRUE(talk.Broken()) << c.what;
    std::size_t handedOut = 0;
    while (talk.Next()) ++handedOut;
    EXPECT_EQ(handedOut, c.handedOut) << c.what;
  }
}

TEST(HelperFraming, APayloadReaderRefusesWhatDoesNotFitOrIsTooLong) {
  const Bytes text = F::PayloadWriter().Text(L"abcdef", 100).Take();
  std::wstring read;
  EXPECT_FALSE(F::PayloadReader(text).Text(read, 5));  // longer than its bound
  EXPECT_TRUE(F::PayloadReader(text).Text(read, 6));
  const Bytes cut(text.begin(), text.end() - 1);
  EXPECT_FALSE(F::PayloadReader(cut).Text(read, 100));
  const Bytes lying = F::PayloadWriter().Word(0xFFFFFFFF).Take();
  std::string bytes;
  EXPECT_FALSE(F::PayloadReader(lying).Bytes(bytes, 0xFFFFFFFF));
  std::uint32_t word = 0;
  EXPECT_FALSE(F::PayloadReader(Bytes{1, 2, 3}).Word(word));
  // Writing cuts a text at its bound.
  EXPECT_TRUE(F::PayloadReader(F::PayloadWriter().Text(L"abcdef", 3).Take()).Text(read, 3));
  EXPECT_EQ(read, L"abc");
}

TEST(RegistrationProtocol, TheRequestAndTheAnswerComeBackAsTheyWent) {
  const std::wstring path = L"C:\\Program Files\\Common Files\\System\\ado\\msado15.dll";
  std::wstring readPath;
  std::string entry;
  ASSERT_TRUE(RegistrationProtocol::ReadRequest(
      RegistrationProtocol::Request(path, "DllRegisterServer"), readPath, entry));
  EXPECT_EQ(readPath, path);
  EXPECT_EQ(entry, "DllRegisterServer");
  RegistrationOutcome outcome;
  outcome.loaded = true;
  outcome.entryFound = true;
  outcome.entryResult = static_cast<std::int32_t>(0x80004005);
  const auto back = RegistrationProtocol::ReadAnswer(
      {RegistrationProtocol::kRegistered, 1, RegistrationProtocol::Answer(outcome)});
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->entryResult, outcome.entryResult);
  EXPECT_TRUE(back->loaded && back->entryFound);
  // An entry found in a file that was not loaded is no answer a helper gives.
  RegistrationOutcome impossible;
  impossible.entryFound = true;
  EXPECT_FALSE(RegistrationProtocol::ReadAnswer(
      {RegistrationProtocol::kRegistered, 1, RegistrationProtocol::Answer(impossible)}));
  EXPECT_FALSE(RegistrationProtocol::ReadAnswer({RegistrationProtocol::kRegistered, 1, Bytes(12)}));
}

}  // namespace
