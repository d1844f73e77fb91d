// What the access helper says is checked before it is believed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "AccessProtocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace P = AccessProtocol;

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

AccessStep Found(AccessStepName name, AccessOutcome outcome, std::wstring message = L"") {
  AccessStep s;
  s.step = name;
  s.outcome = outcome;
  s.hresult = outcome == AccessOutcome::Failed ? static_cast<std::int32_t>(0x80040154) : 0;
  s.message = std::move(message);
  if (name == AccessStepName::Classes) s.className = L"ADOX.Catalog";
  return s;
}

TEST(AccessProtocol, AWholeRunReadInPiecesOfAnySizeGivesEveryStep) {
  const Bytes all =
      Join({P::Greeting(), P::Begins(AccessStepName::Classes),
            P::Step(Found(AccessStepName::Classes, AccessOutcome::Failed, L"Class not registered")),
            P::Begins(AccessStepName::Cleanup),
            P::Step(Found(AccessStepName::Cleanup, AccessOutcome::Passed)), P::Finished()});
  for (std::size_t piece : {std::size_t{1}, std::size_t{3}, all.size()}) {
    P::Reader reader;
    for (std::size_t at = 0; at < all.size(); at += piece)
      EXPECT_TRUE(reader.Take(all.data() + at, std::min(piece, all.size() - at)));
    EXPECT_TRUE(reader.FinishedCleanly());
    const AccessTestResult& r = reader.Result();
    EXPECT_EQ(r[AccessStepName::Classes].outcome, AccessOutcome::Failed);
    EXPECT_EQ(r[AccessStepName::Classes].className, L"ADOX.Catalog");
    EXPECT_EQ(r[AccessStepName::Classes].message, L"Class not registered");
    EXPECT_EQ(r[AccessStepName::Classes].hresult, static_cast<std::int32_t>(0x80040154));
    EXPECT_EQ(r[AccessStepName::Create].outcome, AccessOutcome::NotRun);
    EXPECT_EQ(r[AccessStepName::Cleanup].outcome, AccessOutcome::Passed);
  }
}

TEST(AccessProtocol, TheStepInHandIsKnownUntilItIsReported) {
  P::Reader reader;
  const Bytes begun = Join({P::Greeting(), P::Begins(AccessStepName::Classes),
                            P::Step(Found(AccessStepName::Classes, AccessOutcome::Passed)),
                            P::Begins(AccessStepName::Create)});
  ASSERT_TRUE(reader.Take(begun.data(), begun.size()));
  ASSERT_TRUE(reader.InHand().has_value());
  EXPECT_EQ(*reader.InHand(), AccessStepName::Create);
  EXPECT_FALSE(reader.FinishedCleanly());
}

// Each of these breaks a rule; nothing after the last good record counts.
TEST(AccessProtocol, RefusesWhatTheHelperWouldNeverSay) {
  Bytes hugeLength = P::Begins(AccessStepName::Classes);
  const std::uint32_t huge = 0x7FFFFFFF;
  std::memcpy(hugeLength.data() + 4, &huge, 4);
  Bytes longText = P::Step(Found(AccessStepName::Classes, AccessOutcome::Failed));
  const std::uint32_t units = P::kMaxTextUnits + 1;
  std::memcpy(longText.data() + 8 + 12, &units, 4);
  AccessStep notRun = Found(AccessStepName::Classes, AccessOutcome::NotRun);
  const Bytes streams[] = {
      {1, 2, 3, 4},                       // no greeting
      Join({P::Greeting(), hugeLength}),  // a payload past its bound
      Join({P::Greeting(), P::Begins(AccessStepName::Classes), longText}),  // a text past its bound
      Join({P::Greeting(),
            P::Step(Found(AccessStepName::Classes, AccessOutcome::Passed))}),  // not begun
      Join({P::Greeting(), P::Begins(AccessStepName::Create),
            P::Step(Found(AccessStepName::Classes, AccessOutcome::Passed))}),  // another step
      Join({P::Greeting(), P::Begins(AccessStepName::Create),
            P::Step(Found(AccessStepName::Create, AccessOutcome::Passed)),
            P::Begins(AccessStepName::Classes)}),  // back to an earlier step
      Join({P::Greeting(), P::Begins(AccessStepName::Classes),
            P::Step(notRun)}),  // done, yet not run
      Join({P::Greeting(), P::Finished(), P::Begins(AccessStepName::Classes)}),  // after the end
      Join({P::Greeting(), P::Begins(static_cast<AccessStepName>(4))}),          // no such step
  };
  for (const Bytes& stream : streams) {
    P::Reader reader;
    EXPECT_FALSE(reader.Take(stream.data(), stream.size()));
    EXPECT_TRUE(reader.Broken());
    EXPECT_FALSE(reader.FinishedCleanly());
  }
}

TEST(AccessProtocol, AFloodOfRecordsStopsAtTheStreamsBound) {
  P::Reader reader;
  const Bytes greeting = P::Greeting();
  reader.Take(greeting.data(), greeting.size());
  Bytes flood(P::kMaxStreamBytes, 0);
  EXPECT_FALSE(reader.Take(flood.data(), flood.size()));
  EXPECT_TRUE(reader.Broken());
}

TEST(AccessTestResult, WorksOnlyWhenEveryStepPassed) {
  AccessTestResult r;
  EXPECT_FALSE(r.Works());
  for (AccessStep& s : r.steps) s.outcome = AccessOutcome::Passed;
  EXPECT_TRUE(r.Works());
  r[AccessStepName::Cleanup].outcome = AccessOutcome::NotRun;
  EXPECT_FALSE(r.Works());
  EXPECT_EQ(r.FirstFailure(), nullptr);
  r[AccessStepName::Create].outcome = AccessOutcome::Failed;
  EXPECT_EQ(r.FirstFailure(), &r[AccessStepName::Create]);
}

TEST(AccessTestResult, AFailureReadsAsClassCodeAndMessage) {
  EXPECT_EQ(HresultText(static_cast<std::int32_t>(0x80040154)), L"0x80040154");
  EXPECT_EQ(HresultText(5), L"0x00000005");
  AccessStep s = Found(AccessStepName::Classes, AccessOutcome::Failed, L"Class not registered");
  EXPECT_EQ(AccessFailureDetail(s), L"ADOX.Catalog: 0x80040154 Class not registered");
  s.className.clear();
  s.hresult = 0;
  EXPECT_EQ(AccessFailureDetail(s), L"Class not registered");
}

}  // namespace
