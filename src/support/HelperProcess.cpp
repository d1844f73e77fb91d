#include "HelperProcess.h"

UniqueKernelHandle NewKillOnCloseJob() {
  UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job && !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                      sizeof limits))
    job.reset();
  return job;
}

StartedHelper StartHelperProcess(const std::wstring& program, const std::wstring& arguments,
                                 HANDLE job) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const UniqueFileHandle nowhere(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                             OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nowhere.get();
  startup.hStdOutput = nowhere.get();
  startup.hStdError = nowhere.get();
  std::wstring command = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &started))
    return StartedHelper();
  UniqueProcess helper(started);
  // A job the program itself runs in may refuse a nested one (before
  // Windows 8): the helper then runs without, as a child process always could.
  if (job) AssignProcessToJobObject(job, helper.process.get());
  ResumeThread(helper.thread.get());
  return StartedHelper{std::move(helper.process), started.dwProcessId};
}
