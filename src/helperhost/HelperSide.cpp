#include "HelperSide.h"

#include <cstdio>
#include <cwchar>

#include "CommandLineWords.h"

namespace {

std::wstring HandleText(HANDLE handle) {
  wchar_t value[24];
  std::swprintf(value, 24, L"%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
  return value;
}

// A handle value as the command line gives it; null when it is none or no pipe.
HANDLE PipeFrom(const std::wstring& text) {
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text.c_str(), &end, 16);
  if (end == text.c_str() || *end != L'\0' || value == 0 || value > UINTPTR_MAX) return nullptr;
  const auto handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  return GetFileType(handle) == FILE_TYPE_PIPE ? handle : nullptr;
}

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

}  // namespace

std::wstring HelperArguments(const wchar_t* helperSwitch, HANDLE requests, HANDLE answers) {
  return std::wstring(helperSwitch) + L" " + HandleText(requests) + L" " + HandleText(answers);
}

bool IsHelperCommandLine(const wchar_t* commandLine, const wchar_t* helperSwitch) {
  const std::vector<std::wstring> words = CommandLineWords(commandLine);
  return words.size() == 4 && words[1] == helperSwitch;
}

void EndHelperOnUnhandledException() {
  // Nothing of a helper may ever wait for a user: no error dialogs, no
  // crash dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&EndWithExceptionCode);
  AddVectoredExceptionHandler(1, &EndStackOverflow);
}

std::optional<HelperSide> HelperSide::Open(const wchar_t* helperSwitch) {
  const std::vector<std::wstring> words = CommandLineWords(GetCommandLineW());
  if (words.size() != 4 || words[1] != helperSwitch) return std::nullopt;
  const HANDLE requests = PipeFrom(words[2]), answers = PipeFrom(words[3]);
  if (!requests || !answers || requests == answers) return std::nullopt;
  // Not passed on to whatever a component starts.
  SetHandleInformation(requests, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(answers, HANDLE_FLAG_INHERIT, 0);
  return HelperSide(requests, answers);
}

bool HelperSide::Write(const std::vector<std::uint8_t>& bytes) {
  if (writeFailed_) return false;
  DWORD written = 0;
  if (!WriteFile(answers_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    writeFailed_ = true;
  return !writeFailed_;
}

bool HelperSide::ReadExact(std::uint8_t* data, DWORD size) {
  while (size > 0) {
    DWORD got = 0;
    if (!ReadFile(requests_, data, size, &got, nullptr) || got == 0) return false;
    data += got;
    size -= got;
  }
  return true;
}

bool HelperSide::Greet(std::uint32_t use) {
  return Write(HelperFraming::Frame(HelperFraming::kGreetingTag, 0,
                                    HelperFraming::PayloadWriter().Word(use).Take()));
}

std::optional<HelperFraming::Record> HelperSide::NextRequest(std::size_t maxPayload) {
  std::uint8_t header[HelperFraming::kHeaderBytes];
  if (!ReadExact(header, sizeof header)) return std::nullopt;
  HelperFraming::Reader reader(maxPayload);
  if (!reader.Take(header, sizeof header)) return std::nullopt;
  const std::uint32_t length = header[8] | (header[9] << 8) | (header[10] << 16) |
                               (static_cast<std::uint32_t>(header[11]) << 24);
  std::vector<std::uint8_t> payload(length);
  if (length > 0 && (!ReadExact(payload.data(), length) || !reader.Take(payload.data(), length)))
    return std::nullopt;
  std::optional<HelperFraming::Record> record = reader.Next();
  if (!record || record->tag == HelperFraming::kGreetingTag || record->request != request_ + 1)
    return std::nullopt;
  request_ = record->request;
  return record;
}

bool HelperSide::Answer(std::uint32_t tag, const std::vector<std::uint8_t>& payload) {
  return Write(HelperFraming::Frame(tag, request_, payload));
}

int ServeAsHelper(const wchar_t* helperSwitch, std::uint32_t use, ComApartment::Kind apartment,
                  std::size_t maxRequestPayload,
                  const std::function<bool(HelperSide&, const HelperFraming::Record&)>& answer) {
  EndHelperOnUnhandledException();
  std::optional<HelperSide> side = HelperSide::Open(helperSwitch);
  if (!side) return kHelperBadStart;
  const ComApartment entered(apartment);
  if (side->Greet(use))
    while (const std::optional<HelperFraming::Record> request =
               side->NextRequest(maxRequestPayload))
      if (!answer(*side, *request)) break;
  return side->ExitCode();
}
