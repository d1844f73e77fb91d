#include "HelperHost.h"

#include <atomic>

#include "CriticalSection.h"
#include "HelperStart.h"

namespace {

std::atomic<bool> g_neverEnd{false};

// What the keepers of helpers that "never end" watch instead of them; set
// when the test lets them end after all. Never closed: keepers may wait on
// it while the process ends.
HANDLE StuckHelpersEnd() {
  static const HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return ended;
}

// A helper's folder may stay locked a moment after the helper ended (the
// platform closes its files as the process goes): tried this often, this
// far apart.
constexpr int kFolderAttempts = 100;
constexpr DWORD kFolderRetryMs = 20;

// Every keeper still at work, for the end of the program. Never destroyed:
// keepers may still run while the process ends.
struct Keepers {
  CriticalSection lock;
  int running = 0;
  UniqueKernelHandle allDone{CreateEventW(nullptr, TRUE, TRUE, nullptr)};

  static Keepers& Get() {
    static Keepers* keepers = new Keepers;
    return *keepers;
  }
  void Started() {
    const Locked locked(lock);
    if (running++ == 0) ResetEvent(allDone.get());
  }
  void Done() {
    const Locked locked(lock);
    if (--running == 0) SetEvent(allDone.get());
  }
};

// Scratch folders that earlier runs left are looked for once per kind and run.
bool FirstSweepOf(const std::wstring& prefix) {
  static auto* lock = new CriticalSection;
  static auto* swept = new std::vector<std::wstring>;
  const Locked locked(*lock);
  for (const std::wstring& done : *swept)
    if (done == prefix) return false;
  swept->push_back(prefix);
  return true;
}

}  // namespace

struct HelperHost::Keeper {
  HelperLaunch launch;
  std::optional<ScratchFolder> folder;  // the keeper thread's alone once it runs
  CriticalSection lock;
  UniqueKernelHandle changed{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  // Watched in place of the process where a test pretends it never ends.
  HANDLE neverEnds = nullptr;

  // Under `lock`:
  Status status;
  std::vector<HelperFraming::Record> answers;
  std::optional<HelperFraming::Record> request;  // asked, not yet sent
  bool ownerGone = false;                        // or dismissed it: no more requests
  bool endAsked = false;
  UINT endCode = 0;
  HANDLE process = nullptr;  // while the keeper holds it, for End
  HANDLE job = nullptr;
  HANDLE watched = nullptr;  // the process, or what stands for it in a test

  Keeper(HelperLaunch l, std::optional<ScratchFolder> f)
      : launch(std::move(l)), folder(std::move(f)) {
    if (g_neverEnd) neverEnds = StuckHelpersEnd();
  }

  void Notify() { SetEvent(changed.get()); }

  // Under `lock`.
  void TerminateLocked(UINT code) {
    if (job)
      TerminateJobObject(job, code);
    else if (process)
      TerminateProcess(process, code);
  }

  void Run();
  void Talk(StartedHelper& helper, HANDLE watched);
  int SendAsked(StartedHelper& helper, HelperFraming::Conversation& talk, std::uint32_t& number);
  bool ReadUntil(StartedHelper& helper, HelperFraming::Conversation& talk, bool answered);
  void Finish(StartedHelper& helper, HANDLE watched);
  void RemoveFolder();
};

void HelperHost::Keeper::Run() {
  DWORD error = ERROR_SUCCESS;
  StartedHelper helper = StartHelper(launch.program, launch.helperSwitch, launch.token, error);
  {
    const Locked locked(lock);
    if (!helper.process) {
      status.startError = error ? error : ERROR_GEN_FAILURE;
    } else {
      status.started = true;
      status.processId = helper.processId;
      process = helper.process.get();
      job = helper.job.get();
      watched = neverEnds ? neverEnds : process;
      if (endAsked) TerminateLocked(endCode);
    }
  }
  Notify();
  const HANDLE watched = neverEnds ? neverEnds : helper.process.get();
  if (helper.process) Talk(helper, watched);
  Finish(helper, watched);
}

bool HelperHost::Keeper::ReadUntil(StartedHelper& helper, HelperFraming::Conversation& talk,
                                   bool answered) {
  std::uint8_t buffer[4096];
  while (!(answered ? talk.Answered() : talk.Greeted())) {
    DWORD got = 0;
    if (!ReadFile(helper.answers.get(), buffer, sizeof buffer, &got, nullptr) || got == 0)
      return false;
    const bool kept = talk.Take(buffer, got);
    {
      const Locked locked(lock);
      while (std::optional<HelperFraming::Record> record = talk.Next())
        answers.push_back(std::move(*record));
      // With its closing answer, so that the owner may ask again as soon as
      // it has read it.
      if (answered && talk.Answered()) status.answered = true;
      if (!kept) {
        // A helper that breaks the rules cannot be trusted with anything more.
        status.broken = true;
        TerminateLocked(ERROR_INVALID_DATA);
      }
    }
    Notify();
    if (!kept) return false;
  }
  return true;
}

// Writes the request asked for, if any: 1 when one went, 0 when none is
// asked, -1 when the helper is not to be asked any more or could not be.
int HelperHost::Keeper::SendAsked(StartedHelper& helper, HelperFraming::Conversation& talk,
                                  std::uint32_t& number) {
  std::optional<HelperFraming::Record> asked;
  {
    const Locked locked(lock);
    if (ownerGone || endAsked) return -1;
    asked = std::move(request);
    request.reset();
  }
  if (!asked) return 0;
  talk.Asked(++number);
  const std::vector<std::uint8_t> bytes = HelperFraming::Frame(asked->tag, number, asked->payload);
  DWORD written = 0;
  if (!WriteFile(helper.requests.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                 nullptr) ||
      written != bytes.size()) {
    const Locked locked(lock);
    status.undelivered = true;
    return -1;
  }
  // The last request it may get: it ends once it has answered.
  if (launch.maxRequests && number >= launch.maxRequests) helper.requests.reset();
  return 1;
}

void HelperHost::Keeper::Talk(StartedHelper& helper, HANDLE watched) {
  HelperFraming::Conversation talk(launch.use, launch.closingTags, launch.maxPayload,
                                   launch.maxAnswerBytes);
  std::uint32_t number = 0;
  // A request asked for before the start goes at once: it waits in the pipe
  // while the helper gets ready, instead of after its greeting.
  int sent = SendAsked(helper, talk, number);
  if (sent < 0 || !ReadUntil(helper, talk, false)) return;
  {
    const Locked locked(lock);
    status.greeted = true;
  }
  Notify();
  for (;;) {
    if (sent > 0 && !ReadUntil(helper, talk, true)) return;
    if (!helper.requests) return;  // it had its last request
    // A helper that ends between requests is seen to end here.
    while ((sent = SendAsked(helper, talk, number)) == 0) {
      const HANDLE waits[] = {wake.get(), watched};
      if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) return;
    }
    if (sent < 0) return;
  }
}

void HelperHost::Keeper::Finish(StartedHelper& helper, HANDLE watched) {
  // Its requests closed, a helper between requests ends on its own.
  helper.requests.reset();
  helper.answers.reset();
  if (helper.process && WaitForSingleObject(watched, launch.exitWait) != WAIT_OBJECT_0) {
    const Locked locked(lock);
    TerminateLocked(ERROR_TIMEOUT);
  }
  DWORD exitCode = 0;
  if (helper.process) {
    WaitForSingleObject(watched, INFINITE);
    GetExitCodeProcess(helper.process.get(), &exitCode);
  }
  {
    const Locked locked(lock);
    process = nullptr;
    job = nullptr;
    watched = nullptr;
    status.ended = true;
    status.exitCode = exitCode;
  }
  helper.job.reset();
  helper.process.reset();
  Notify();
  RemoveFolder();
}

void HelperHost::Keeper::RemoveFolder() {
  DWORD removal = ERROR_SUCCESS;
  if (folder) {
    for (int attempt = 0; attempt < kFolderAttempts && !folder->Remove(); ++attempt) {
      removal = folder->Error();
      Sleep(kFolderRetryMs);
    }
    if (folder->Path().empty()) removal = ERROR_SUCCESS;
  }
  {
    const Locked locked(lock);
    status.folderRemoval = removal;
  }
  Notify();
  // What earlier runs left is looked for once a folder of the kind has been
  // made, whose security is the program's own as this platform reads it back.
  if (folder && !folder->Security().empty() && FirstSweepOf(folder->Kind().prefix))
    SweepScratchFolders(folder->Kind(), folder->Security(), folder->Path());
}

namespace {

DWORD WINAPI KeeperMain(void* parameter) {
  const std::shared_ptr<HelperHost::Keeper> keeper =
      std::move(*static_cast<std::shared_ptr<HelperHost::Keeper>*>(parameter));
  delete static_cast<std::shared_ptr<HelperHost::Keeper>*>(parameter);
  keeper->Run();
  Keepers::Get().Done();
  return 0;
}

}  // namespace

HelperHost::HelperHost(HelperLaunch launch, std::optional<ScratchFolder> folder)
    : keeper_(std::make_shared<Keeper>(std::move(launch), std::move(folder))) {
  Keepers::Get().Started();
  auto* handed = new std::shared_ptr<Keeper>(keeper_);
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, &KeeperMain, handed, 0, nullptr));
  if (!thread) {
    const DWORD error = GetLastError();
    delete handed;
    const Locked locked(keeper_->lock);
    keeper_->status.startError = error ? error : ERROR_GEN_FAILURE;
    keeper_->status.ended = true;
    keeper_->status.folderRemoval =
        keeper_->folder && !keeper_->folder->Remove() ? keeper_->folder->Error() : ERROR_SUCCESS;
    Keepers::Get().Done();
  }
}

HelperHost::~HelperHost() {
  {
    const Locked locked(keeper_->lock);
    keeper_->ownerGone = true;
    // A request in hand is not waited for: the helper is ended at once.
    if (!keeper_->status.answered && !keeper_->status.ended) {
      keeper_->endAsked = true;
      keeper_->endCode = ERROR_CANCELLED;
      keeper_->TerminateLocked(ERROR_CANCELLED);
    }
  }
  SetEvent(keeper_->wake.get());
}

bool HelperHost::Ask(std::uint32_t tag, std::vector<std::uint8_t> payload) {
  {
    const Locked locked(keeper_->lock);
    const Status& s = keeper_->status;
    if (!s.answered || s.ended || s.broken || s.startError || keeper_->endAsked ||
        keeper_->ownerGone)
      return false;
    keeper_->request = HelperFraming::Record{tag, 0, std::move(payload)};
    keeper_->status.answered = false;
  }
  SetEvent(keeper_->wake.get());
  return true;
}

std::vector<HelperFraming::Record> HelperHost::TakeAnswers() {
  std::vector<HelperFraming::Record> taken;
  const Locked locked(keeper_->lock);
  taken.swap(keeper_->answers);
  return taken;
}

void HelperHost::Dismiss() {
  {
    const Locked locked(keeper_->lock);
    keeper_->ownerGone = true;
  }
  SetEvent(keeper_->wake.get());
}

void HelperHost::End(UINT exitCode) {
  {
    const Locked locked(keeper_->lock);
    if (keeper_->endAsked) return;
    keeper_->endAsked = true;
    keeper_->endCode = exitCode;
    keeper_->TerminateLocked(exitCode);
  }
  SetEvent(keeper_->wake.get());
}

HelperHost::Status HelperHost::Now() const {
  const Locked locked(keeper_->lock);
  return keeper_->status;
}

bool HelperHost::HasEnded() const {
  const Locked locked(keeper_->lock);
  return keeper_->status.ended ||
         (keeper_->watched && WaitForSingleObject(keeper_->watched, 0) == WAIT_OBJECT_0);
}

HANDLE HelperHost::Changed() const { return keeper_->changed.get(); }

void HelperHost::PretendHelpersNeverEndForTests(bool never) {
  g_neverEnd = never;
  if (never)
    ResetEvent(StuckHelpersEnd());
  else
    SetEvent(StuckHelpersEnd());
}

bool WaitForHelpersToEnd(DWORD milliseconds) {
  return WaitForSingleObject(Keepers::Get().allDone.get(), milliseconds) == WAIT_OBJECT_0;
}
