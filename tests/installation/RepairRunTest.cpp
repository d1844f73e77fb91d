// The one repair run that the repair page and the quiet repair share, over
// stand-ins at five of the catalogue's paths.
#include "RepairRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "ComponentFixtures.h"
#include "InstallationCheck.h"
#include "InstalledComponents.h"
#include "MessageBoxCatcher.h"
#include "QuietRepair.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

// What the observer was told, with the time of each; also passes it on.
class Recorder : public RepairObserver {
 public:
  struct Event {
    std::wstring what;  // "start", "registered", "crashed", "failed", "done"
    std::wstring file;
    std::chrono::steady_clock::time_point at;
  };
  explicit Recorder(RepairObserver* inner = nullptr) : inner_(inner) {}

  void EntryStarted(std::size_t index, const ComponentFile& e) override {
    Add(L"start", e);
    if (inner_) inner_->EntryStarted(index, e);
  }
  void Registered(std::size_t index, const ComponentFile& e,
                  const std::optional<RegistrationOutcome>& outcome) override {
    Add(!outcome               ? L"none"
        : outcome->crashed     ? L"crashed"
        : outcome->Succeeded() ? L"registered"
                               : L"failed",
        e);
    if (stopAt == e.sFileName) stop = true;  // asked while the entry is in hand
    if (inner_) inner_->Registered(index, e, outcome);
  }
  void EntryDone(std::size_t index, const ComponentFile& e) override {
    Add(L"done", e);
    if (inner_) inner_->EntryDone(index, e);
  }
  bool Waiting() override { return inner_ ? inner_->Waiting() : false; }
  bool StopRequested() override { return stop || (inner_ && inner_->StopRequested()); }

  std::vector<std::wstring> Calls() const {
    std::vector<std::wstring> calls;
    for (const Event& e : events) calls.push_back(e.what + L" " + e.file);
    return calls;
  }
  const Event& Find(const std::wstring& what, const std::wstring& file) const {
    for (const Event& e : events)
      if (e.what == what && e.file == file) return e;
    ADD_FAILURE() << "no " << std::string(what.begin(), what.end());
    return events.front();
  }

  std::vector<Event> events;
  std::wstring stopAt;
  bool stop = false;

 private:
  void Add(const wchar_t* what, const ComponentFile& e) {
    events.push_back({what, e.sFileName, std::chrono::steady_clock::now()});
  }
  RepairObserver* inner_;
};

class RepairRun : public ::testing::Test {
 protected:
  void SetUp() override {
    Registrations::Clear();
    Answer();
    const std::vector<ComponentFile> all =
        ReadComponentList(GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON), SystemFolder());
    for (const ComponentFile& e : all)
      for (const wchar_t* name : kNames)
        if (e.sFileName == name) components_.push_back(e);
    ASSERT_EQ(components_.size(), 5u);
    ASSERT_TRUE(components_[1].bNoRegister);
  }
  void TearDown() override { Registrations::Clear(); }
  // A crashing entry followed by a failing one and a good one.
  static void Answer() {
    Registrations::Answer(L"MSADOMD.dll", kWriteToNull);
    Registrations::Answer(L"MSJRO.DLL", E_FAIL);
  }
  static RepairRunOptions Options() {
    RepairRunOptions options;
    options.helperProgram = WizardProgram();
    return options;
  }

  static constexpr const wchar_t* kNames[] = {L"MSADO15.DLL", L"MSADER15.DLL", L"MSADOMD.dll",
                                              L"MSJRO.DLL", L"MSADCE.DLL"};
  InstalledComponents installed_{std::map<std::wstring, std::wstring>{}};
  std::vector<ComponentFile> components_;
};

TEST_F(RepairRun, EveryEntryInOrderWithBothPausesAndNoCallForOneNotRegistered) {
  Recorder recorder;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunRepair(components_, Options(), recorder), RepairEnd::Finished);
  const auto took = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(recorder.Calls(),
            (std::vector<std::wstring>{
                L"start MSADO15.DLL", L"registered MSADO15.DLL", L"done MSADO15.DLL",
                L"start MSADER15.DLL", L"done MSADER15.DLL",  // not registered
                L"start MSADOMD.dll", L"crashed MSADOMD.dll", L"done MSADOMD.dll",
                L"start MSJRO.DLL", L"failed MSJRO.DLL", L"done MSJRO.DLL",  // after the crash
                L"start MSADCE.DLL", L"registered MSADCE.DLL", L"done MSADCE.DLL"}));
  EXPECT_EQ(Registrations::Order(), (std::vector<std::wstring>{L"MSADO15.DLL", L"MSADOMD.dll",
                                                               L"MSJRO.DLL", L"MSADCE.DLL"}));
  // The entry not registered still has both pauses.
  using std::chrono::milliseconds;
  const auto before =
      recorder.Find(L"done", L"MSADER15.DLL").at - recorder.Find(L"start", L"MSADER15.DLL").at;
  const auto after =
      recorder.Find(L"start", L"MSADOMD.dll").at - recorder.Find(L"done", L"MSADER15.DLL").at;
  EXPECT_GE(before, milliseconds(kPauseBeforeEntry));
  EXPECT_GE(after, milliseconds(kPauseAfterEntry));
  EXPECT_GE(took, milliseconds(5 * (kPauseBeforeEntry + kPauseAfterEntry)));
}

TEST_F(RepairRun, AStopTakesEffectAfterTheEntryInHand) {
  Recorder recorder;
  recorder.stopAt = L"MSADOMD.dll";
  EXPECT_EQ(RunRepair(components_, Options(), recorder), RepairEnd::Stopped);
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_EQ(recorder.Calls().back(), L"done MSADOMD.dll");  // finished, and nothing after
  EXPECT_EQ(Registrations::Order(), (std::vector<std::wstring>{L"MSADO15.DLL", L"MSADOMD.dll"}));
}

// The page shows the run in boxes, the quiet repair in lines: the same calls
// in the same order, and the same words for each failure.
TEST_F(RepairRun, ThePageAndTheQuietRepairMakeTheSameCallsAndSayTheSame) {
  std::vector<std::wstring> boxes;
  {
    frmMain form{frmMain::Options{false, WizardProgram()}};
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.Show(SW_SHOW);
    form.Press(I::cmdWeiter);
    form.Press(I::cmdWeiter);
    form.aComponents = components_;  // five entries, not the whole catalogue
    MessageBoxCatcher catcher;
    form.Press(I::cmdRepairMDAC);
    ASSERT_TRUE(form.bRepairDone);
    EXPECT_EQ(SendMessageW(form.Control(I::ProgressBar1), PBM_GETPOS, 0, 0), 5);
    for (const auto& box : catcher.boxes()) boxes.push_back(box.text);
  }
  const std::vector<std::wstring> pageCalls = Registrations::Order();
  ASSERT_EQ(pageCalls.size(), 4u);

  Registrations::Clear();
  Answer();
  QuietRepairObserver quiet;
  Recorder recorder(&quiet);
  EXPECT_EQ(RunRepair(components_, Options(), recorder), RepairEnd::Finished);
  EXPECT_EQ(Registrations::Order(), pageCalls);
  const std::vector<RepairReportLine>& lines = quiet.lines();
  ASSERT_EQ(lines.size(), 4u);
  std::vector<std::wstring> failures;
  for (const RepairReportLine& line : lines) {
    EXPECT_EQ(line.name, pageCalls[&line - lines.data()]);
    if (!line.registered) failures.push_back(line.description);
  }
  EXPECT_EQ(failures, boxes);  // the crash and the failing entry
  EXPECT_EQ(boxes.size(), 2u);
}

}  // namespace
