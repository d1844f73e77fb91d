#include "HelperStart.h"

#include <atomic>
#include <vector>

#include "CriticalSection.h"
#include "HelperSide.h"
#include "LateImports.h"

namespace {

// The flags and the structure of an attribute list start (Vista and later),
// which the platform headers hide below that release.
constexpr DWORD kExtendedStartupInfoPresent = 0x00080000;  // EXTENDED_STARTUPINFO_PRESENT
constexpr DWORD_PTR kAttributeHandleList = 0x00020002;     // PROC_THREAD_ATTRIBUTE_HANDLE_LIST
struct StartupInfoWithList {
  STARTUPINFOW startup;
  void* list;  // LPPROC_THREAD_ATTRIBUTE_LIST
};

// A request is written whole into the pipe before the helper reads it: a
// buffer that holds the longest request lets the write finish at once.
constexpr DWORD kPipeBytes = 128 * 1024;

std::atomic<bool> g_refuseNestedJobs{false};

// Serialises the starts of this process: between making the helper's handles
// inheritable and closing them again, no other start may run, so that no
// helper inherits another's pipe where the platform has no handle list.
// Never deleted: a keeper may start a helper while the process ends.
CriticalSection& StartLock() {
  static auto* lock = new CriticalSection;
  return *lock;
}

UniqueKernelHandle NewKillOnCloseJob() {
  UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job && !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                      sizeof limits))
    job.reset();
  return job;
}

bool AssignToJob(HANDLE job, HANDLE process) {
  BOOL inJob = FALSE;
  if (g_refuseNestedJobs && IsProcessInJob(process, nullptr, &inJob) && inJob) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return AssignProcessToJobObject(job, process) != 0;
}

// The attribute list that names the only handles a helper inherits; empty
// where the platform has none (before Vista).
class HandleList {
 public:
  explicit HandleList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    const auto initialize = Kernel32::InitializeProcThreadAttributeList.Find();
    const auto update = Kernel32::UpdateProcThreadAttribute.Find();
    if (!initialize || !update || !Kernel32::DeleteProcThreadAttributeList.Find()) return;
    SIZE_T size = 0;
    initialize(nullptr, 1, 0, &size);
    if (size == 0) return;
    buffer_.resize(size);
    if (!initialize(buffer_.data(), 1, 0, &size)) return;
    initialized_ = true;
    if (!update(buffer_.data(), 0, kAttributeHandleList, handles_.data(),
                handles_.size() * sizeof(HANDLE), nullptr, nullptr))
      return;
    ready_ = true;
  }
  ~HandleList() {
    if (initialized_) Kernel32::DeleteProcThreadAttributeList(buffer_.data());
  }
  HandleList(const HandleList&) = delete;
  HandleList& operator=(const HandleList&) = delete;

  void* get() { return ready_ ? buffer_.data() : nullptr; }

 private:
  std::vector<HANDLE> handles_;
  std::vector<unsigned char> buffer_;
  bool initialized_ = false, ready_ = false;
};

struct Inheritance {
  HANDLE nowhere;
  HANDLE requests;
  HANDLE answers;
};

// One CreateProcess, suspended; `list` null: every inheritable handle goes
// along, which the caller has made sure are only the helper's.
UniqueProcess CreateSuspended(const std::wstring& program, std::wstring command, HANDLE token,
                              const Inheritance& handles, void* list, DWORD extraFlags,
                              DWORD& processId, DWORD& error) {
  StartupInfoWithList info{};
  info.startup.cb = list ? sizeof info : sizeof info.startup;
  info.startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  info.startup.wShowWindow = SW_HIDE;
  info.startup.hStdInput = handles.nowhere;
  info.startup.hStdOutput = handles.nowhere;
  info.startup.hStdError = handles.nowhere;
  info.list = list;
  const DWORD flags = CREATE_SUSPENDED | extraFlags | (list ? kExtendedStartupInfoPresent : 0);
  PROCESS_INFORMATION started{};
  const BOOL ok =
      token ? CreateProcessAsUserW(token, program.c_str(), command.data(), nullptr, nullptr, TRUE,
                                   flags, nullptr, nullptr, &info.startup, &started)
            : CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, flags,
                             nullptr, nullptr, &info.startup, &started);
  if (!ok) {
    error = GetLastError();
    return UniqueProcess();
  }
  // From the start's answer: GetProcessId came only with XP SP1.
  processId = started.dwProcessId;
  return UniqueProcess(started);
}

}  // namespace

void RefuseNestedJobsForTests(bool refuse) { g_refuseNestedJobs = refuse; }

StartedHelper StartHelper(const std::wstring& program, const wchar_t* helperSwitch, HANDLE token,
                          DWORD& error) {
  StartedHelper helper;
  error = ERROR_SUCCESS;
  // Made not inheritable; inheritable only for the moment of the start.
  UniqueKernelHandle requestsRead, answersWrite;
  if (!CreatePipe(requestsRead.put(), helper.requests.put(), nullptr, kPipeBytes) ||
      !CreatePipe(helper.answers.put(), answersWrite.put(), nullptr, kPipeBytes)) {
    error = GetLastError();
    return StartedHelper();
  }
  UniqueFileHandle nowhere(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
  if (!nowhere) {
    error = GetLastError();
    return StartedHelper();
  }
  const std::wstring command =
      L"\"" + program + L"\" " +
      HelperArguments(helperSwitch, requestsRead.get(), answersWrite.get());
  UniqueKernelHandle job = NewKillOnCloseJob();
  UniqueProcess started;
  {
    const Locked locked(StartLock());
    const Inheritance handles{nowhere.get(), requestsRead.get(), answersWrite.get()};
    for (HANDLE h : {handles.nowhere, handles.requests, handles.answers})
      SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    HandleList list({handles.nowhere, handles.requests, handles.answers});
    if (!list.get()) {
      // Without a list every inheritable handle goes along. The program makes
      // none but these; the standard handles it was given may be, and they
      // are of no helper's business.
      for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE standard = GetStdHandle(which);
        if (standard && standard != INVALID_HANDLE_VALUE)
          SetHandleInformation(standard, HANDLE_FLAG_INHERIT, 0);
      }
    }
    started =
        CreateSuspended(program, command, token, handles, list.get(), 0, helper.processId, error);
    if (started.process && job && !AssignToJob(job.get(), started.process.get())) {
      // It ran nothing yet: started again, away from the job this process
      // runs in, if that job allows it.
      TerminateProcess(started.process.get(), ERROR_ACCESS_DENIED);
      started = CreateSuspended(program, command, token, handles, list.get(),
                                CREATE_BREAKAWAY_FROM_JOB, helper.processId, error);
      if (started.process && !AssignToJob(job.get(), started.process.get())) {
        TerminateProcess(started.process.get(), ERROR_ACCESS_DENIED);
        started = UniqueProcess();
      }
      if (!started.process) {
        job.reset();
        started = CreateSuspended(program, command, token, handles, list.get(), 0, helper.processId,
                                  error);
      }
    }
    // The helper has its copies: this process's go now, before any other
    // start could pass them on.
    nowhere.reset();
    requestsRead.reset();
    answersWrite.reset();
  }
  if (!started.process) return StartedHelper();
  ResumeThread(started.thread.get());
  helper.process = std::move(started.process);
  helper.job = std::move(job);
  error = ERROR_SUCCESS;
  return helper;
}
