#include "RegistrationHelper.h"

#include "Deadline.h"
#include "RegistrationHelperMain.h"
#include "RegistrationProtocol.h"

namespace {

HelperLaunch RegistrationLaunch(const std::wstring& program) {
  return HelperLaunch(program, kRegistrationHelperSwitch, RegistrationProtocol::kUse,
                      {RegistrationProtocol::kRegistered}, RegistrationProtocol::kAnswerPayload,
                      HelperFraming::kHeaderBytes + RegistrationProtocol::kAnswerPayload);
}

}  // namespace

RegistrationHelper::RegistrationHelper(std::wstring program, DWORD timeLimitMs)
    : program_(std::move(program)), timeLimitMs_(timeLimitMs) {}

// The host lets an idle helper end on its own, and ends a busy one.
RegistrationHelper::~RegistrationHelper() = default;

DWORD RegistrationHelper::ProcessId() const {
  if (!host_) return 0;
  const HelperHost::Status status = host_->Now();
  return status.ended ? 0 : status.processId;
}

bool RegistrationHelper::Start() {
  if (unusable_) return false;
  if (!host_) host_ = std::make_unique<HelperHost>(RegistrationLaunch(program_));
  return true;
}

std::optional<RegistrationOutcome> RegistrationHelper::Register(const std::wstring& path,
                                                                const std::string& entryName,
                                                                const WhileWaiting& whileWaiting) {
  // A helper that ended after its last answer (a thread a component left
  // behind crashed, say) never saw this file: a new one takes it, instead of
  // the file being blamed for the end of the last one.
  if (host_ && host_->HasEnded()) host_.reset();
  if (!Start()) return std::nullopt;
  const Deadline deadline(timeLimitMs_);
  host_->Ask(RegistrationProtocol::kRegister, RegistrationProtocol::Request(path, entryName));
  bool pumping = static_cast<bool>(whileWaiting);
  bool endedForNonsense = false, askedAgain = false;
  for (;;) {
    for (const HelperFraming::Record& record : host_->TakeAnswers()) {
      if (const std::optional<RegistrationOutcome> outcome =
              RegistrationProtocol::ReadAnswer(record))
        return outcome;
      // An answer no helper gives: it cannot be trusted with the next file
      // either.
      host_->End(ERROR_INVALID_DATA);
      endedForNonsense = true;
    }
    const HelperHost::Status status = host_->Now();
    if (status.startError || (!status.greeted && (status.ended || status.broken)) ||
        (!status.greeted && deadline.Passed())) {
      // Not a helper, or one that cannot work: no component is loaded.
      host_.reset();
      unusable_ = true;
      return std::nullopt;
    }
    if (status.ended && status.undelivered && !askedAgain) {
      // It ended before the request reached it: the file was never tried,
      // and a new helper takes it.
      askedAgain = true;
      host_ = std::make_unique<HelperHost>(RegistrationLaunch(program_));
      host_->Ask(RegistrationProtocol::kRegister, RegistrationProtocol::Request(path, entryName));
      continue;
    }
    if (status.ended) {
      // The process ended with the component in hand: its exit code is the
      // code of the exception that ended it.
      RegistrationOutcome outcome;
      outcome.crashed = true;
      outcome.exceptionCode = endedForNonsense ? ERROR_INVALID_DATA : status.exitCode;
      host_.reset();
      return outcome;
    }
    if (deadline.Passed()) {
      host_->End(ERROR_TIMEOUT);
      host_.reset();
      RegistrationOutcome outcome;
      outcome.timedOut = true;
      outcome.timeLimitMs = timeLimitMs_;
      return outcome;
    }
    const DWORD left = deadline.Left();
    const HANDLE changed = host_->Changed();
    // Input that stays in the queue (a quit message that is put back)
    // answers every wait at once: that is why the time is measured above, on
    // each round, not taken from the waits.
    const DWORD signalled = pumping
                                ? MsgWaitForMultipleObjects(1, &changed, FALSE, left, QS_ALLINPUT)
                                : WaitForSingleObject(changed, left);
    if (pumping && signalled == WAIT_OBJECT_0 + 1) pumping = whileWaiting();
  }
}
