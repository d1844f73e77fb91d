#include "RegistrationHelperProcess.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

#include "RegistrationProtocol.h"
#include "modDLLRegister.h"

namespace {

// Runs on whatever stack the faulting thread has left (after a stack overflow,
// very little): no locals to speak of, nothing but the ending itself.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* info) {
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

bool ReadExact(HANDLE pipe, void* data, DWORD size) {
  auto* bytes = static_cast<BYTE*>(data);
  while (size > 0) {
    DWORD got = 0;
    if (!ReadFile(pipe, bytes, size, &got, nullptr) || got == 0) return false;
    bytes += got;
    size -= got;
  }
  return true;
}

bool WriteExact(HANDLE pipe, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(pipe, data, size, &written, nullptr) && written == size;
}

// One request of the wizard; false when the pipe is closed or the request is
// not one the wizard would send.
bool ReadRequest(HANDLE pipe, std::wstring& path, std::string& entryName) {
  std::uint32_t units = 0, bytes = 0;
  if (!ReadExact(pipe, &units, sizeof units) || units > RegistrationProtocol::kMaxPathUnits)
    return false;
  path.assign(units, L'\0');
  if (!ReadExact(pipe, path.data(), units * sizeof(wchar_t))) return false;
  if (!ReadExact(pipe, &bytes, sizeof bytes) || bytes > RegistrationProtocol::kMaxEntryBytes)
    return false;
  entryName.assign(bytes, '\0');
  return ReadExact(pipe, entryName.data(), bytes);
}

}  // namespace

bool IsRegistrationHelper(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return false;
  const bool helper = count == 2 && lstrcmpW(arguments[1], kRegistrationHelperSwitch) == 0;
  LocalFree(arguments);
  return helper;
}

int RunRegistrationHelper() {
  // Nothing of the helper may ever wait for a user: no error dialogs, no
  // crash dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&EndWithExceptionCode);
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!in || in == INVALID_HANDLE_VALUE || !out || out == INVALID_HANDLE_VALUE) return 1;

  // Components rely on OLE being ready in the thread that calls their entry,
  // as the platform's own registration tool makes it.
  const HRESULT ole = OleInitialize(nullptr);
  if (WriteExact(out, &RegistrationProtocol::kHelperGreeting,
                 sizeof RegistrationProtocol::kHelperGreeting)) {
    std::wstring path;
    std::string entryName;
    while (ReadRequest(in, path, entryName)) {
      const RegistrationProtocol::Answer answer =
          RegistrationProtocol::ToAnswer(RegisterInThisProcess(path, entryName));
      if (!WriteExact(out, &answer, sizeof answer)) break;
    }
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
