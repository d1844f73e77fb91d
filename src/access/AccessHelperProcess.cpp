#include "AccessHelperProcess.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "AccessClasses.h"
#include "AccessProtocol.h"
#include "AccessRoundTrip.h"
#include "ComApartment.h"
#include "CommandLineWords.h"
#include "LoadText.h"
#include "RegistrationHelperMain.h"
#include "TextIds.h"

namespace {

struct HelperArguments {
  HANDLE channel = nullptr;
  std::wstring folder;
};

std::optional<HelperArguments> Parse(const wchar_t* commandLine) {
  const std::vector<std::wstring> words = CommandLineWords(commandLine);
  if (words.size() != 4 || words[1] != kAccessHelperSwitch) return std::nullopt;
  const wchar_t* const text = words[2].c_str();
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 16);
  if (end == text || *end != L'\0' || value == 0 || value > UINTPTR_MAX) return std::nullopt;
  return HelperArguments{reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value)), words[3]};
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
  const std::vector<std::wstring> words = CommandLineWords(commandLine);
  return words.size() == 4 && words[1] == kAccessHelperSwitch;
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
  const ComApartment com(ComApartment::Kind::Com);
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
  return 0;
}
