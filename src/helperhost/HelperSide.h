#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ComApartment.h"
#include "HelperFraming.h"

// The helper's end of the host's channel: the program started again with a
// helper's switch, the handles of its two pipes after it (requests in,
// answers out). Its standard handles lead nowhere, so that a component that
// writes or reads them cannot take part in the talk.

// What a helper ends with besides 0 (done) and the code of an exception that
// ended it: codes of the application's own range, which no exception has.
inline constexpr int kHelperBadStart = 0x20000001;     // its command line names no channel
inline constexpr int kHelperChannelLost = 0x20000002;  // writing to the caller failed

// The arguments that start a helper: its switch and its two pipe handles.
std::wstring HelperArguments(const wchar_t* helperSwitch, HANDLE requests, HANDLE answers);

// Whether `commandLine` starts the helper of `helperSwitch`.
bool IsHelperCommandLine(const wchar_t* commandLine, const wchar_t* helperSwitch);

// Makes every exception that nothing handles end this process at once, with
// the exception's code as its exit code: no dialog, no debugger, no waiting.
void EndHelperOnUnhandledException();

class HelperSide {
 public:
  // The channel that this process's command line names after
  // `helperSwitch`; none when it names none, or handles that are no pipes.
  static std::optional<HelperSide> Open(const wchar_t* helperSwitch);

  // Says which use this helper serves; false when the caller is gone.
  bool Greet(std::uint32_t use);
  // The caller's next request; none when it closed its end, or sent what it
  // never sends (a record past `maxPayload`, a number out of order).
  std::optional<HelperFraming::Record> NextRequest(std::size_t maxPayload);
  // An answer to the request in hand; false once a write failed.
  bool Answer(std::uint32_t tag, const std::vector<std::uint8_t>& payload);
  // 0, or kHelperChannelLost once a write to the caller failed.
  int ExitCode() const { return writeFailed_ ? kHelperChannelLost : 0; }

 private:
  HelperSide(HANDLE requests, HANDLE answers) : requests_(requests), answers_(answers) {}
  bool Write(const std::vector<std::uint8_t>& bytes);
  bool ReadExact(std::uint8_t* data, DWORD size);

  // The inherited handles: this process's until it ends.
  HANDLE requests_;
  HANDLE answers_;
  std::uint32_t request_ = 0;
  bool writeFailed_ = false;
};

// A helper's whole life: exceptions that nothing handles end it, its channel
// is opened, its thread enters `apartment`, it greets as `use`, and `answer`
// takes each request until the caller closes its end or `answer` says no
// (the request is none it serves, or the caller could not be told). Returns
// the exit code: 0, kHelperBadStart or kHelperChannelLost.
int ServeAsHelper(const wchar_t* helperSwitch, std::uint32_t use, ComApartment::Kind apartment,
                  std::size_t maxRequestPayload,
                  const std::function<bool(HelperSide&, const HelperFraming::Record&)>& answer);
