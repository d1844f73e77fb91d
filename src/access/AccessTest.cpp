#include "AccessTest.h"

#include "AccessHelperProcess.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "SystemMessage.h"
#include "TextIds.h"

namespace {

// How often a waiting caller looks at the helper when nothing is heard.
constexpr DWORD kPollMs = 50;
// Once the helper is done or ended, it has this long to go and its folder
// with it; past that the folder is reported as left (the host removes it
// later, or the next start does).
constexpr DWORD kEndGrace = 3000;

std::wstring Hex(DWORD value) { return HresultText(static_cast<std::int32_t>(value)); }

HelperLaunch AccessLaunch(const std::wstring& program) {
  HelperLaunch launch(program, kAccessHelperSwitch, AccessProtocol::kUse,
                      {AccessProtocol::kFinished}, AccessProtocol::kMaxPayloadBytes,
                      AccessProtocol::kMaxAnswerBytes);
  // One test, one request: the helper ends as soon as it has answered.
  launch.maxRequests = 1;
  return launch;
}

}  // namespace

ScratchFolderKind AccessScratchFolderKind() {
  ScratchFolderKind kind;
  kind.prefix = L"MdacAccess-";
  for (const AccessDatabase& database : kAccessDatabases) {
    kind.files.push_back(database.file);
    kind.files.push_back(database.lockFile);
  }
  return kind;
}

AccessTest::AccessTest(std::wstring program, DWORD timeLimitMs, AccessDatabaseKind kind)
    : program_(std::move(program)), timeLimitMs_(timeLimitMs), kind_(kind) {}

// A helper still at work is ended by its host, which removes its folder once
// it has gone, on a thread of its own.
AccessTest::~AccessTest() = default;

DWORD AccessTest::TimeLeft() const { return started_ ? deadline_.Left() : timeLimitMs_; }

DWORD AccessTest::ProcessId() const {
  if (!host_) return 0;
  const HelperHost::Status status = host_->Now();
  return status.ended ? 0 : status.processId;
}

void AccessTest::Start() {
  if (started_) return;
  started_ = true;
  deadline_ = Deadline(timeLimitMs_);
  std::optional<ScratchFolder> folder(std::in_place, AccessScratchFolderKind());
  folder_ = folder->Path();
  folderParent_ = folder->Parent();
  folderError_ = folder->Error();
  if (folder_.empty()) folder.reset();
  host_ = std::make_unique<HelperHost>(AccessLaunch(program_), std::move(folder));
  host_->Ask(AccessProtocol::kRun, AccessProtocol::RunRequest(kind_, folder_));
}

bool AccessTest::Poll() {
  if (!started_) Start();
  if (done_) return true;
  // The status first: once it says the helper ended, all it said is in.
  const HelperHost::Status status = host_->Now();
  if (!ending_) {
    for (const HelperFraming::Record& record : host_->TakeAnswers())
      if (!reader_.Take(record)) break;
    if (status.startError) {
      ending_ = Ending::NotStarted;
    } else if (reader_.Broken() || status.broken) {
      host_->End(ERROR_INVALID_DATA);
      ending_ = Ending::Broken;
    } else if (reader_.FinishedCleanly()) {
      host_->Dismiss();
      ending_ = Ending::Finished;
    } else if (status.ended) {
      ending_ = Ending::Ended;
    } else if (TimeLeft() == 0) {
      host_->End(ERROR_TIMEOUT);
      ending_ = Ending::TimedOut;
    }
    if (ending_) endGrace_ = Deadline(kEndGrace);
  }
  if (!ending_ || (!status.folderRemoval && !endGrace_.Passed())) return false;
  Conclude(status);
  return true;
}

void AccessTest::Conclude(const HelperHost::Status& status) {
  done_ = true;
  host_.reset();
  result_ = reader_.Result();
  const Ending ending = *ending_;
  if (ending != Ending::Finished) {
    // The step the helper was in, or the one it would have begun next: after
    // a failed step, and without a folder after the classes, the clean-up. A
    // helper that ended after reporting the clean-up keeps what it reported.
    std::optional<std::size_t> blamed;
    if (reader_.InHand()) {
      blamed = static_cast<std::size_t>(*reader_.InHand());
    } else if (!reader_.LastReported()) {
      blamed = 0;
    } else if (const auto last = static_cast<std::size_t>(*reader_.LastReported());
               last + 1 < kAccessStepCount) {
      const bool cleanupNext =
          result_.steps[last].outcome == AccessOutcome::Failed || (last == 0 && folder_.empty());
      blamed = cleanupNext ? kAccessStepCount - 1 : last + 1;
    }
    if (blamed) {
      AccessStep& step = result_.steps[*blamed];
      step.outcome = AccessOutcome::Failed;
      step.errors.clear();
      switch (ending) {
        case Ending::TimedOut:
          step.hresult = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
          step.message = FormatPlaceholders(LoadText(IDS_ACCESS_TIMED_OUT),
                                            {static_cast<double>(timeLimitMs_) / 1000.0});
          break;
        case Ending::Broken:
          step.hresult = 0;
          step.message = LoadText(IDS_ACCESS_BAD_ANSWER);
          break;
        case Ending::NotStarted:
          step.hresult = HRESULT_FROM_WIN32(status.startError);
          step.message =
              FormatPlaceholders(LoadText(IDS_ACCESS_NOT_STARTED), {SystemMessage(step.hresult)});
          break;
        case Ending::Ended:
        case Ending::Finished:
          step.hresult = 0;
          step.message = FormatPlaceholders(LoadText(IDS_ACCESS_ENDED), {Hex(status.exitCode)});
          break;
      }
    }
  }
  // Without a scratch folder the helper checked the classes only.
  AccessStep& create = result_[AccessStepName::Create];
  if (folder_.empty() && result_[AccessStepName::Classes].outcome == AccessOutcome::Passed &&
      create.outcome == AccessOutcome::NotRun) {
    create.outcome = AccessOutcome::Failed;
    create.hresult = HRESULT_FROM_WIN32(folderError_);
    create.message = FormatPlaceholders(LoadText(IDS_ACCESS_NO_FOLDER),
                                        {folderParent_, SystemMessage(create.hresult)});
  }
  // A helper that would not end keeps its folder: reported, and left to the
  // host (and to the next start) to remove.
  const DWORD removal = status.folderRemoval.value_or(ERROR_TIMEOUT);
  if (!folder_.empty() && removal != ERROR_SUCCESS) {
    AccessStep& cleanup = result_[AccessStepName::Cleanup];
    cleanup.outcome = AccessOutcome::Failed;
    cleanup.hresult = HRESULT_FROM_WIN32(removal);
    cleanup.message = FormatPlaceholders(LoadText(IDS_ACCESS_NOT_REMOVED),
                                         {folder_, SystemMessage(cleanup.hresult)});
    cleanup.errors.clear();
  }
}

AccessTestResult AwaitAccessTest(AccessTest& test, const std::function<bool()>& whileWaiting) {
  const bool pumping = static_cast<bool>(whileWaiting);
  while (!test.Poll()) {
    const HANDLE changed = test.WaitHandle();
    const DWORD signalled =
        pumping ? MsgWaitForMultipleObjects(1, &changed, FALSE, kPollMs, QS_ALLINPUT)
                : WaitForSingleObject(changed, kPollMs);
    // No longer wanted: the test's destructor has the helper ended.
    if (pumping && signalled == WAIT_OBJECT_0 + 1 && !whileWaiting()) return AccessTestResult{};
  }
  return test.Result();
}

AccessTestResult RunAccessTest(const std::wstring& program, DWORD timeLimitMs,
                               const std::function<bool()>& whileWaiting) {
  AccessTest test(program, timeLimitMs);
  return AwaitAccessTest(test, whileWaiting);
}
