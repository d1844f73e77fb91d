// What the access helper says is checked before it is believed.
#include <gtest/gtest.h>

#include <vector>

#include "AccessProtocol.h"

namespace {

namespace P = AccessProtocol;
using Record = HelperFraming::Record;

Record Begins(AccessStepName step) { return {P::kBegins, 1, P::Begins(step)}; }
Record Reported(const AccessStep& step) { return {P::kStep, 1, P::Step(step)}; }
Record Finished() { return {P::kFinished, 1, {}}; }

AccessStep Found(AccessStepName name, AccessOutcome outcome, std::wstring message = L"") {
  AccessStep s;
  s.step = name;
  s.outcome = outcome;
  s.hresult = outcome == AccessOutcome::Failed ? static_cast<std::int32_t>(0x80040154) : 0;
  s.message = std::move(message);
  if (name == AccessStepName::Classes) s.className = L"ADOX.Catalog";
  return s;
}

TEST(AccessProtocol, AWholeRunGivesEveryStepWithTheConnectionsErrors) {
  AccessStep trip = Found(AccessStepName::RoundTrip, AccessOutcome::Failed, L"first");
  trip.errors = {{L"Unrecognized database format.", static_cast<std::int32_t>(0x80004005),
                  -534774612, L"3343", L"Microsoft JET Database Engine"},
                 {L"second", 0, 0, L"", L""}};
  P::Reader reader;
  for (const Record& r :
       {Begins(AccessStepName::Classes),
        Reported(Found(AccessStepName::Classes, AccessOutcome::Passed)),
        Begins(AccessStepName::RoundTrip), Reported(trip), Begins(AccessStepName::Cleanup),
        Reported(Found(AccessStepName::Cleanup, AccessOutcome::Passed)), Finished()})
    EXPECT_TRUE(reader.Take(r));
  EXPECT_TRUE(reader.FinishedCleanly());
  const AccessTestResult& r = reader.Result();
  EXPECT_EQ(r[AccessStepName::Create].outcome, AccessOutcome::NotRun);
  const AccessStep& read = r[AccessStepName::RoundTrip];
  EXPECT_EQ(read.message, L"first");
  ASSERT_EQ(read.errors.size(), 2u);
  EXPECT_EQ(read.errors[0].nativeError, -534774612);
  EXPECT_EQ(read.errors[0].sqlState, L"3343");
  EXPECT_EQ(read.errors[0].source, L"Microsoft JET Database Engine");
  EXPECT_EQ(read.errors[0].number, static_cast<std::int32_t>(0x80004005));
  EXPECT_EQ(read.errors[1].description, L"second");
  EXPECT_EQ(r[AccessStepName::Cleanup].outcome, AccessOutcome::Passed);
}

TEST(AccessProtocol, TheStepInHandAndTheLastReportedAreKnown) {
  P::Reader reader;
  reader.Take(Begins(AccessStepName::Classes));
  reader.Take(Reported(Found(AccessStepName::Classes, AccessOutcome::Passed)));
  EXPECT_EQ(reader.LastReported(), AccessStepName::Classes);
  reader.Take(Begins(AccessStepName::Create));
  ASSERT_TRUE(reader.InHand().has_value());
  EXPECT_EQ(*reader.InHand(), AccessStepName::Create);
  EXPECT_FALSE(reader.FinishedCleanly());
}

// Each of these breaks a rule; nothing after the last good record counts.
TEST(AccessProtocol, RefusesWhatTheHelperWouldNeverSay) {
  AccessStep tooMany = Found(AccessStepName::Classes, AccessOutcome::Failed);
  Record manyErrors = Reported(tooMany);
  manyErrors.payload.resize(manyErrors.payload.size() - 4);
  HelperFraming::PayloadWriter count;
  count.Word(static_cast<std::uint32_t>(P::kMaxErrors + 1));
  const auto words = count.Take();
  manyErrors.payload.insert(manyErrors.payload.end(), words.begin(), words.end());
  Record trailing = Reported(Found(AccessStepName::Classes, AccessOutcome::Passed));
  trailing.payload.push_back(0);
  const std::vector<std::vector<Record>> streams = {
      {Reported(Found(AccessStepName::Classes, AccessOutcome::Passed))},  // not begun
      {Begins(AccessStepName::Create),
       Reported(Found(AccessStepName::Classes, AccessOutcome::Passed))},  // another step
      {Begins(AccessStepName::Create),
       Reported(Found(AccessStepName::Create, AccessOutcome::Passed)),
       Begins(AccessStepName::Classes)},  // back to an earlier step
      {Begins(AccessStepName::Classes),
       Reported(Found(AccessStepName::Classes, AccessOutcome::NotRun))},  // done, yet not run
      {Finished(), Begins(AccessStepName::Classes)},                      // after the end
      {Begins(static_cast<AccessStepName>(4))},                           // no such step
      {Begins(AccessStepName::Classes), manyErrors},                      // too many errors
      {Begins(AccessStepName::Classes), trailing},                        // bytes left over
      {Begins(AccessStepName::Classes), Finished()},                      // the end mid-step
      {{99, 1, {}}},                                                      // no such record
  };
  for (std::size_t i = 0; i < streams.size(); ++i) {
    P::Reader reader;
    bool kept = true;
    for (const Record& r : streams[i]) kept = reader.Take(r) && kept;
    EXPECT_FALSE(kept) << i;
    EXPECT_TRUE(reader.Broken()) << i;
    EXPECT_FALSE(reader.FinishedCleanly()) << i;
  }
}

TEST(AccessProtocol, TheRequestNamesTheKindAndTheFolder) {
  std::uint32_t kind = 99;
  std::wstring folder;
  ASSERT_TRUE(P::ReadRunRequest(P::RunRequest(AccessDatabaseKind::JetMdb, L"C:\\T\\MdacAccess-1"),
                                kind, folder));
  EXPECT_EQ(FindAccessDatabase(kind), &kAccessDatabases[0]);
  EXPECT_EQ(folder, L"C:\\T\\MdacAccess-1");
  EXPECT_EQ(FindAccessDatabase(1234), nullptr);
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
