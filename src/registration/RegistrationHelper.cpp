#include "RegistrationHelper.h"

#include <atomic>
#include <vector>

#include "HelperProcess.h"
#include "RegistrationHelperMain.h"
#include "RegistrationProtocol.h"
#include "SystemQueries.h"

namespace {

// A pipe name no other helper of this or another wizard uses.
std::wstring NewPipeName() {
  static std::atomic<unsigned> counter{0};
  return L"\\\\.\\pipe\\MdacRepair.registration." + std::to_wstring(GetCurrentProcessId()) + L"." +
         std::to_wstring(++counter) + L"." + std::to_wstring(GetTickCount());
}

// Pipes that refuse clients on other machines exist from Windows Vista on;
// Windows XP and Server 2003 do not know the flag. There the pipe's only
// instance is taken at once by the helper's end, opened right after it.
DWORD PipeMode(const KernelVersion& release) {
  const DWORD mode = PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT;
  return release.AtLeast(6, 0) ? mode | PIPE_REJECT_REMOTE_CLIENTS : mode;
}

// A helper that does not end on its own soon after its pipe closes is ended.
constexpr DWORD kHelperExitWait = 2000;

}  // namespace

RegistrationHelper::RegistrationHelper(std::wstring program, DWORD timeLimitMs)
    : program_(std::move(program)),
      timeLimitMs_(timeLimitMs),
      event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      job_(NewKillOnCloseJob()) {}

RegistrationHelper::~RegistrationHelper() { Stop(); }

DWORD RegistrationHelper::ProcessId() const { return process_ ? processId_ : 0; }

bool RegistrationHelper::Start() {
  if (process_) return true;
  if (unusable_ || !event_) return false;
  unusable_ = true;  // until the helper is under way
  const std::wstring name = NewPipeName();
  UniqueFileHandle server(CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PipeMode(RunningRelease()), 1, 65536, 65536, 0, nullptr));
  if (!server) return false;
  // The helper's end of the pipe: inherited, and named by its handle value on
  // the helper's command line, never as its standard input or output.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueFileHandle client(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherit,
                                      OPEN_EXISTING, 0, nullptr));
  if (!client) return false;
  StartedHelper started =
      StartHelperProcess(program_, RegistrationHelperArguments(client.get()), job_.get());
  if (!started.process) return false;
  process_ = std::move(started.process);
  processId_ = started.processId;
  pipe_ = std::move(server);
  greeted_ = false;
  unusable_ = false;
  return true;
}

void RegistrationHelper::Stop() {
  // Closing the pipe tells the helper to end.
  pipe_.reset();
  if (process_ && WaitForSingleObject(process_.get(), kHelperExitWait) != WAIT_OBJECT_0)
    TerminateProcess(process_.get(), ERROR_TIMEOUT);
  process_.reset();
  greeted_ = false;
}

RegistrationHelper::Waited RegistrationHelper::Transfer(bool write, void* data, DWORD size,
                                                        const Deadline& deadline,
                                                        const WhileWaiting& whileWaiting) {
  auto* bytes = static_cast<BYTE*>(data);
  bool pumping = static_cast<bool>(whileWaiting);
  while (size > 0) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_.get();
    ResetEvent(event_.get());
    DWORD done = 0;
    const BOOL started = write ? WriteFile(pipe_.get(), bytes, size, nullptr, &overlapped)
                               : ReadFile(pipe_.get(), bytes, size, nullptr, &overlapped);
    if (!started && GetLastError() != ERROR_IO_PENDING) return Waited::Ended;
    const HANDLE handles[] = {event_.get(), process_.get()};
    Waited waited = Waited::Done;
    // A transfer the pipe could finish at once needs no wait.
    while (!started) {
      const DWORD left = deadline.Left();
      // Input that stays in the queue (a quit message that is put back)
      // answers every wait at once: past the deadline only the transfer and
      // the process are asked, so the time limit holds all the same.
      const DWORD signalled = pumping && left > 0
                                  ? MsgWaitForMultipleObjects(2, handles, FALSE, left, QS_ALLINPUT)
                                  : WaitForMultipleObjects(2, handles, FALSE, left);
      if (signalled == WAIT_OBJECT_0) break;
      if (signalled == WAIT_OBJECT_0 + 2) {
        pumping = whileWaiting();
        continue;
      }
      waited = signalled == WAIT_OBJECT_0 + 1 ? Waited::Ended : Waited::TimedOut;
      break;
    }
    if (waited != Waited::Done) {
      // The buffer must outlive the request: cancel it and see it finish.
      // This thread started it, and it is the only one on the pipe, so the
      // form every release has will do (CancelIoEx came with Vista).
      CancelIo(pipe_.get());
      GetOverlappedResult(pipe_.get(), &overlapped, &done, TRUE);
      return waited;
    }
    if (!GetOverlappedResult(pipe_.get(), &overlapped, &done, FALSE) || done == 0)
      return Waited::Ended;
    bytes += done;
    size -= done;
  }
  return Waited::Done;
}

std::optional<RegistrationOutcome> RegistrationHelper::Register(const std::wstring& path,
                                                                const std::string& entryName,
                                                                const WhileWaiting& whileWaiting) {
  // A helper that ended after its last answer (a thread a component left
  // behind crashed, say) never saw this file: a new one takes it, instead of
  // the file being blamed for the end of the last one.
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) Stop();
  if (!Start()) return std::nullopt;
  const Deadline deadline(timeLimitMs_);
  if (!greeted_) {
    std::uint32_t greeting = 0;
    if (Transfer(false, &greeting, sizeof greeting, deadline, whileWaiting) != Waited::Done ||
        greeting != RegistrationProtocol::kHelperGreeting) {
      // Not a helper, or one that cannot work: this process registers instead.
      if (process_) TerminateProcess(process_.get(), ERROR_INVALID_FUNCTION);
      Stop();
      unusable_ = true;
      return std::nullopt;
    }
    greeted_ = true;
  }

  std::vector<BYTE> request;
  const auto put = [&](const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    request.insert(request.end(), bytes, bytes + size);
  };
  const std::uint32_t sequence = ++sequence_;
  const auto units = static_cast<std::uint32_t>(path.size());
  const auto entryBytes = static_cast<std::uint32_t>(entryName.size());
  put(&sequence, sizeof sequence);
  put(&units, sizeof units);
  put(path.data(), path.size() * sizeof(wchar_t));
  put(&entryBytes, sizeof entryBytes);
  put(entryName.data(), entryName.size());

  RegistrationProtocol::Answer answer{};
  Waited waited =
      Transfer(true, request.data(), static_cast<DWORD>(request.size()), deadline, whileWaiting);
  if (waited == Waited::Done)
    waited = Transfer(false, &answer, sizeof answer, deadline, whileWaiting);
  if (waited == Waited::Done && answer.sequence == sequence)
    return RegistrationProtocol::FromAnswer(answer);
  if (waited == Waited::Done) {
    // An answer to some other question: the helper cannot be trusted with
    // the next file either.
    TerminateProcess(process_.get(), ERROR_INVALID_DATA);
    waited = Waited::Ended;
  }

  RegistrationOutcome outcome;
  if (waited == Waited::TimedOut) {
    TerminateProcess(process_.get(), ERROR_TIMEOUT);
    outcome.timedOut = true;
    outcome.timeLimitMs = timeLimitMs_;
  } else {
    // The pipe broke or the process ended: either way the helper is gone or
    // going; its exit code is the code of the exception that ended it.
    WaitForSingleObject(process_.get(), kHelperExitWait);
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    outcome.crashed = true;
    outcome.exceptionCode = code;
  }
  Stop();
  return outcome;
}
