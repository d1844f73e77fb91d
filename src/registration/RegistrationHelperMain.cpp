#include "RegistrationHelperMain.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "ComApartment.h"
#include "CommandLineWords.h"
#include "RegistrationProtocol.h"
#include "modDLLRegister.h"

namespace {

// Runs on whatever stack the faulting thread has left (after a stack overflow,
// very little): no locals to speak of, nothing but the ending itself.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* info) {
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

// A stack overflow is ended as soon as it is raised, before any search for a
// handler: that search walks the stack's frames on what little stack is left,
// and on x86_64 it can run out of it. The helper then vanished with exit code 0
// before the filter above was reached, which read as a component that ended
// the process itself.
LONG WINAPI EndStackOverflow(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
    TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
  return EXCEPTION_CONTINUE_SEARCH;
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
bool ReadRequest(HANDLE pipe, std::uint32_t& sequence, std::wstring& path, std::string& entryName) {
  std::uint32_t units = 0, bytes = 0;
  if (!ReadExact(pipe, &sequence, sizeof sequence)) return false;
  if (!ReadExact(pipe, &units, sizeof units) || units > RegistrationProtocol::kMaxPathUnits)
    return false;
  path.assign(units, L'\0');
  if (!ReadExact(pipe, path.data(), units * sizeof(wchar_t))) return false;
  if (!ReadExact(pipe, &bytes, sizeof bytes) || bytes > RegistrationProtocol::kMaxEntryBytes)
    return false;
  entryName.assign(bytes, '\0');
  return ReadExact(pipe, entryName.data(), bytes);
}

// The wizard's pipe, inherited under the handle value that follows the switch;
// null when the command line names none or the handle is no pipe.
HANDLE ChannelFrom(const wchar_t* commandLine) {
  const std::vector<std::wstring> words = CommandLineWords(commandLine);
  if (words.size() != 3) return nullptr;
  const wchar_t* const text = words[2].c_str();
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 16);
  if (end == text || *end != L'\0' || value == 0 || value > UINTPTR_MAX) return nullptr;
  const auto channel = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  if (GetFileType(channel) != FILE_TYPE_PIPE) return nullptr;
  return channel;
}

}  // namespace

bool IsRegistrationHelper(const wchar_t* commandLine) {
  const std::vector<std::wstring> words = CommandLineWords(commandLine);
  return words.size() == 3 && words[1] == kRegistrationHelperSwitch;
}

std::wstring RegistrationHelperArguments(HANDLE channel) {
  wchar_t value[24];
  std::swprintf(value, 24, L"%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(channel)));
  return std::wstring(kRegistrationHelperSwitch) + L" " + value;
}

void EndHelperOnUnhandledException() {
  // Nothing of a helper may ever wait for a user: no error dialogs, no
  // crash dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&EndWithExceptionCode);
  AddVectoredExceptionHandler(1, &EndStackOverflow);
}

int RunRegistrationHelper() {
  EndHelperOnUnhandledException();
  const HANDLE pipe = ChannelFrom(GetCommandLineW());
  if (!pipe) return 1;
  // Not passed on to whatever a component starts.
  SetHandleInformation(pipe, HANDLE_FLAG_INHERIT, 0);

  // Components rely on OLE being ready in the thread that calls their entry,
  // as the platform's own registration tool makes it.
  const ComApartment ole(ComApartment::Kind::Ole);
  if (WriteExact(pipe, &RegistrationProtocol::kHelperGreeting,
                 sizeof RegistrationProtocol::kHelperGreeting)) {
    std::uint32_t sequence = 0;
    std::wstring path;
    std::string entryName;
    while (ReadRequest(pipe, sequence, path, entryName)) {
      const RegistrationProtocol::Answer answer =
          RegistrationProtocol::ToAnswer(sequence, RegisterInThisProcess(path, entryName));
      if (!WriteExact(pipe, &answer, sizeof answer)) break;
    }
  }
  return 0;
}
