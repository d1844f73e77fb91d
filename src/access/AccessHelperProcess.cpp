#include "AccessHelperProcess.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "AccessClasses.h"
#include "AccessProtocol.h"
#include "AccessRoundTrip.h"
#include "LoadText.h"
#include "RegistrationHelperMain.h"
#include "TextIds.h"

namespace {

struct HelperArguments {
  HANDLE channel = nullptr;
  std::wstring folder;
};

std::optional<HelperArguments> Parse(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return std::nullopt;
  std::optional<HelperArguments> parsed;
  if (count == 4 && lstrcmpW(arguments[1], kAccessHelperSwitch) == 0) {
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(arguments[2], &end, 16);
    if (end != arguments[2] && *end == L'\0' && value != 0 && value <= UINTPTR_MAX)
      parsed = HelperArguments{reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value)),
                               arguments[3]};
  }
  LocalFree(arguments);
  return parsed;
}

bool Send(HANDLE pipe, const std::vector<std::uint8_t>& record) {
  DWORD written = 0;
  return WriteFile(pipe, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
         written == record.size();
}

// Runs one step, said before it starts, so that the caller knows which step
// a crash or a hang ended. An exception that reaches here fails the step: a
// component's C++ exception does where the unwinding crosses modules (x86_64),
// on i686 it ends the process.
template <typename Work>
bool RunStep(HANDLE pipe, AccessStepName name, Work work, AccessStep& found) {
  if (!Send(pipe, AccessProtocol::Begins(name))) return false;
  try {
    found = work();
  } catch (...) {
    found = AccessStep{};
    found.outcome = AccessOutcome::Failed;
    found.hresult = E_UNEXPECTED;
    found.message = LoadText(IDS_ACCESS_EXCEPTION);
  }
  found.step = name;
  return Send(pipe, AccessProtocol::Step(found));
}

}  // namespace

bool IsAccessHelper(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return false;
  const bool helper = count == 4 && lstrcmpW(arguments[1], kAccessHelperSwitch) == 0;
  LocalFree(arguments);
  return helper;
}

std::wstring AccessHelperArguments(HANDLE channel, const std::wstring& folder) {
  wchar_t value[24];
  std::swprintf(value, 24, L"%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(channel)));
  // A Windows path holds no quote, so quoting keeps it one argument.
  return std::wstring(kAccessHelperSwitch) + L" " + value + L" \"" + folder + L"\"";
}

int RunAccessHelper() {
  EndHelperOnUnhandledException();
  const std::optional<HelperArguments> arguments = Parse(GetCommandLineW());
  if (!arguments || GetFileType(arguments->channel) != FILE_TYPE_PIPE) return 1;
  const HANDLE pipe = arguments->channel;
  // Not passed on to whatever a component starts.
  SetHandleInformation(pipe, HANDLE_FLAG_INHERIT, 0);

  // Database programs call ADO from a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (Send(pipe, AccessProtocol::Greeting())) {
    AccessStep found;
    bool going = RunStep(pipe, AccessStepName::Classes, &CheckAccessClasses, found);
    std::optional<AccessRoundTrip> trip;
    if (going && found.outcome == AccessOutcome::Passed && !arguments->folder.empty()) {
      trip.emplace(arguments->folder);
      going = RunStep(
          pipe, AccessStepName::Create, [&] { return trip->Create(); }, found);
      if (going && found.outcome == AccessOutcome::Passed)
        going = RunStep(
            pipe, AccessStepName::RoundTrip, [&] { return trip->RoundTrip(); }, found);
    }
    if (going)
      going = RunStep(
          pipe, AccessStepName::Cleanup,
          [&] {
            AccessStep nothingOpened;
            nothingOpened.outcome = AccessOutcome::Passed;
            return trip ? trip->Cleanup() : nothingOpened;
          },
          found);
    if (going) Send(pipe, AccessProtocol::Finished());
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
