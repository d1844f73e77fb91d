#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "MessagePump.h"
#include "TestPaths.h"
#include "UniqueHandle.h"

// What a run of a program left behind.
struct ProgramRun {
  DWORD exitCode = 999;  // 999: it did not start or did not end in time
  std::string out, err;  // the bytes it wrote
  // Windows the program created while it ran (any window, top-level or not),
  // by class name: from the platform's object-creation events and from
  // looking at the desktop's windows every few milliseconds.
  std::vector<std::wstring> windows;
};

// How the run's standard output is set up.
enum class OutputTo {
  Pipe,             // read by the test
  ReadOnlyFile,     // a handle that refuses every write
  ClosedPipe,       // a pipe whose reading end is gone
  Nothing,          // the starter hands over handles but none for output
  StartersConsole,  // no handles handed over (nothing is captured): a console's child
};

namespace program_run_detail {

inline DWORD g_pid = 0;
inline std::vector<std::wstring>* g_windows = nullptr;

inline void Note(HWND hwnd) {
  wchar_t cls[64] = L"?";
  GetClassNameW(hwnd, cls, 64);
  for (const std::wstring& seen : *g_windows)
    if (seen == cls) return;
  g_windows->push_back(cls);
}

inline void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD,
                             DWORD) {
  if (object == OBJID_WINDOW && child == CHILDID_SELF && g_windows) Note(hwnd);
}

// Every window of the program, and a message box of any process (a helper
// the program started could show one).
inline BOOL CALLBACK OnTopLevel(HWND hwnd, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (pid == g_pid || (pid != GetCurrentProcessId() && std::wstring(cls) == L"#32770")) Note(hwnd);
  return TRUE;
}

inline void ReadAll(HANDLE pipe, std::string* into) {
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
}

}  // namespace program_run_detail

// Runs the program with `arguments` to its end, stdout and stderr captured;
// with the rights of `token` where one is given.
inline ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                             OutputTo output = OutputTo::Pipe, DWORD milliseconds = 60000,
                             HANDLE token = nullptr) {
  namespace d = program_run_detail;
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle outRead, outWrite, errRead, errWrite;
  CreatePipe(errRead.put(), errWrite.put(), &inherit, 0);
  SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
  wchar_t temp[MAX_PATH] = {}, readOnly[MAX_PATH] = {};
  switch (output) {
    case OutputTo::Pipe:
      CreatePipe(outRead.put(), outWrite.put(), &inherit, 0);
      SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
      break;
    case OutputTo::ClosedPipe:
      CreatePipe(outRead.put(), outWrite.put(), &inherit, 0);
      outRead.reset();
      break;
    case OutputTo::ReadOnlyFile:
      GetTempPathW(MAX_PATH, temp);
      GetTempFileNameW(temp, L"ro", 0, readOnly);
      outWrite.reset(CreateFileW(readOnly, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, OPEN_EXISTING, 0, nullptr));
      break;
    case OutputTo::Nothing:
    case OutputTo::StartersConsole:
      break;
  }
  Handover handover;
  handover.standardHandles = output != OutputTo::StartersConsole;
  handover.output = outWrite.get();
  handover.error = errWrite.get();
  handover.token = token;
  const ChildProcess child =
      StartProcess(L"\"" + program + L"\" " + arguments, handover, CREATE_SUSPENDED);
  if (!child) return run;
  outWrite.reset();
  errWrite.reset();
  d::g_pid = child.processId;
  d::g_windows = &run.windows;
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr,
                                             d::OnEvent, child.processId, 0, WINEVENT_OUTOFCONTEXT);
  std::thread outReader, errReader(d::ReadAll, errRead.get(), &run.err);
  if (outRead) outReader = std::thread(d::ReadAll, outRead.get(), &run.out);
  ResumeThread(child.thread.get());
  // The hook's events come as messages; the desktop is looked at between them.
  const bool ended = PumpUntil(
      [&] {
        EnumWindows(d::OnTopLevel, 0);
        return WaitForSingleObject(child.process.get(), 0) == WAIT_OBJECT_0;
      },
      static_cast<int>(milliseconds), {}, 2);
  if (ended)
    GetExitCodeProcess(child.process.get(), &run.exitCode);
  else
    EndProcess(child, 999);
  if (hook) UnhookWinEvent(hook);
  d::g_windows = nullptr;
  errReader.join();
  if (outReader.joinable()) outReader.join();
  if (*readOnly) DeleteFileW(readOnly);
  return run;
}

inline ProgramRun RunProgram(const std::wstring& arguments, OutputTo output = OutputTo::Pipe) {
  return RunProgram(ProgramPath(), arguments, output);
}
