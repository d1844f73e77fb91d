#include "AccessTest.h"

#include "HelperProcess.h"

#include <vector>

#include "AccessHelperProcess.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "SystemMessage.h"
#include "TextIds.h"

namespace {

// A helper that does not end soon after it was told to is ended.
constexpr DWORD kHelperExitWait = 2000;
// How often a waiting caller looks at the pipe.
constexpr DWORD kPollMs = 20;
// The pipe's buffer holds everything a helper may say, so that it never
// waits for the caller to read.
constexpr DWORD kPipeBytes = static_cast<DWORD>(AccessProtocol::kMaxStreamBytes);

std::wstring Hex(DWORD value) { return HresultText(static_cast<std::int32_t>(value)); }

}  // namespace

AccessTest::AccessTest(std::wstring program, DWORD timeLimitMs)
    : program_(std::move(program)), timeLimitMs_(timeLimitMs) {}

AccessTest::~AccessTest() {
  if (!started_ || done_) return;
  try {
    Finish(Ending::TimedOut);
  } catch (...) {
    // Only the texts can fail here; the helper and the folder go regardless.
    process_.reset();
    job_.reset();
    if (folder_) folder_->Remove();
  }
}

DWORD AccessTest::TimeLeft() const { return deadline_.Left(); }

DWORD AccessTest::ProcessId() const { return process_ ? processId_ : 0; }

void AccessTest::Start() {
  if (started_) return;
  started_ = true;
  deadline_ = Deadline(timeLimitMs_);
  folder_.emplace();

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle write;
  if (!CreatePipe(pipe_.put(), write.put(), &inherit, kPipeBytes))
    return Finish(Ending::NotStarted, GetLastError());
  SetHandleInformation(pipe_.get(), HANDLE_FLAG_INHERIT, 0);
  job_ = NewKillOnCloseJob();
  StartedHelper started =
      StartHelperProcess(program_, AccessHelperArguments(write.get(), folder_->Path()), job_.get());
  if (!started.process) return Finish(Ending::NotStarted, GetLastError());
  process_ = std::move(started.process);
  processId_ = started.processId;
}

void AccessTest::ReadAvailable() {
  std::uint8_t buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe_.get(), nullptr, 0, nullptr, &available, nullptr) || available == 0)
      return;
    DWORD got = 0;
    if (!ReadFile(pipe_.get(), buffer, available < sizeof buffer ? available : sizeof buffer, &got,
                  nullptr) ||
        got == 0)
      return;
    if (!reader_.Take(buffer, got)) return;
  }
}

bool AccessTest::Poll() {
  if (!started_) Start();
  if (done_) return true;
  ReadAvailable();
  if (reader_.Broken()) {
    Finish(Ending::Broken);
  } else if (reader_.FinishedCleanly()) {
    Finish(Ending::Finished);
  } else if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
    ReadAvailable();  // what it said just before it ended
    Finish(reader_.Broken()            ? Ending::Broken
           : reader_.FinishedCleanly() ? Ending::Finished
                                       : Ending::Ended);
  } else if (TimeLeft() == 0) {
    Finish(Ending::TimedOut);
  }
  return done_;
}

void AccessTest::Finish(Ending ending, DWORD startError) {
  done_ = true;
  DWORD exitCode = 0;
  if (process_) {
    if (ending != Ending::Finished && ending != Ending::Ended)
      TerminateProcess(process_.get(), ERROR_TIMEOUT);
    if (WaitForSingleObject(process_.get(), kHelperExitWait) != WAIT_OBJECT_0)
      TerminateProcess(process_.get(), ERROR_TIMEOUT);
    WaitForSingleObject(process_.get(), kHelperExitWait);
    GetExitCodeProcess(process_.get(), &exitCode);
  }
  process_.reset();
  job_.reset();
  pipe_.reset();

  result_ = reader_.Result();
  if (ending != Ending::Finished) {
    // The step the helper was in, or the one it would have begun next.
    std::size_t inHand = 0;
    if (reader_.InHand()) {
      inHand = static_cast<std::size_t>(*reader_.InHand());
    } else {
      for (std::size_t i = 0; i < kAccessStepCount; ++i)
        if (result_.steps[i].outcome != AccessOutcome::NotRun) inHand = i + 1;
      if (inHand == kAccessStepCount) inHand = kAccessStepCount - 1;
    }
    AccessStep& step = result_.steps[inHand];
    step.outcome = AccessOutcome::Failed;
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
        step.hresult = HRESULT_FROM_WIN32(startError);
        step.message =
            FormatPlaceholders(LoadText(IDS_ACCESS_NOT_STARTED), {SystemMessage(step.hresult)});
        break;
      case Ending::Ended:
      case Ending::Finished:
        step.hresult = 0;
        step.message = FormatPlaceholders(LoadText(IDS_ACCESS_ENDED), {Hex(exitCode)});
        break;
    }
  }
  // Without a scratch folder the helper checked the classes only.
  AccessStep& create = result_[AccessStepName::Create];
  if (folder_ && folder_->Path().empty() &&
      result_[AccessStepName::Classes].outcome == AccessOutcome::Passed &&
      create.outcome == AccessOutcome::NotRun) {
    create.outcome = AccessOutcome::Failed;
    create.hresult = HRESULT_FROM_WIN32(folder_->Error());
    create.message = FormatPlaceholders(LoadText(IDS_ACCESS_NO_FOLDER),
                                        {folder_->Parent(), SystemMessage(create.hresult)});
  }
  if (folder_) {
    const std::wstring path = folder_->Path();
    if (!folder_->Remove()) {
      AccessStep& cleanup = result_[AccessStepName::Cleanup];
      cleanup.outcome = AccessOutcome::Failed;
      cleanup.hresult = HRESULT_FROM_WIN32(folder_->Error());
      cleanup.message = FormatPlaceholders(LoadText(IDS_ACCESS_NOT_REMOVED),
                                           {path, SystemMessage(cleanup.hresult)});
    }
    folder_.reset();
  }
}

AccessTestResult AwaitAccessTest(AccessTest& test, const std::function<bool()>& whileWaiting) {
  const bool pumping = static_cast<bool>(whileWaiting);
  while (!test.Poll()) {
    const HANDLE process = test.WaitHandle();
    const DWORD wait = test.TimeLeft() < kPollMs ? test.TimeLeft() : kPollMs;
    const DWORD signalled = pumping
                                ? MsgWaitForMultipleObjects(1, &process, FALSE, wait, QS_ALLINPUT)
                                : WaitForSingleObject(process, wait);
    // No longer wanted: the test's destructor ends the helper.
    if (pumping && signalled == WAIT_OBJECT_0 + 1 && !whileWaiting()) return AccessTestResult{};
  }
  return test.Result();
}

AccessTestResult RunAccessTest(const std::wstring& program, DWORD timeLimitMs,
                               const std::function<bool()>& whileWaiting) {
  AccessTest test(program, timeLimitMs);
  return AwaitAccessTest(test, whileWaiting);
}
