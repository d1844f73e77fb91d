#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The steps of the database access test, in the order they run: each one
// needs the one before it, except the clean-up, which runs whatever happened.
enum class AccessStepName : std::uint32_t { Classes, Create, RoundTrip, Cleanup };
inline constexpr std::size_t kAccessStepCount = 4;

enum class AccessOutcome : std::uint32_t { NotRun, Passed, Failed };

// One error a component's connection reported (ADO's Errors collection): its
// text, its result code, the engine's own number (Jet's error number) and the
// SQL state, which is what a support person searches for.
struct AccessError {
  std::wstring description;
  std::int32_t number = 0;
  std::int32_t nativeError = 0;
  std::wstring sqlState;
  std::wstring source;
};

// What one step found. A failure carries the component's own code and text,
// which is what a support person would search for; on the steps that go
// through a connection, all of the errors it reported, the first of them as
// the code and the text.
struct AccessStep {
  AccessStepName step = AccessStepName::Classes;
  AccessOutcome outcome = AccessOutcome::NotRun;
  std::int32_t hresult = 0;  // 0 when the failure has no result code of its own
  std::wstring message;
  std::wstring className;   // the classes step: the class concerned
  std::wstring serverFile;  // the classes step: its server file, where one is named
  std::vector<AccessError> errors;
};

struct AccessTestResult {
  AccessTestResult();
  std::array<AccessStep, kAccessStepCount> steps;

  AccessStep& operator[](AccessStepName name) { return steps[static_cast<std::size_t>(name)]; }
  const AccessStep& operator[](AccessStepName name) const {
    return steps[static_cast<std::size_t>(name)];
  }
  // Database access works only when every step passed.
  bool Works() const;
  // The first step that failed, or null when none did.
  const AccessStep* FirstFailure() const;
};

// The names the reports use: "classes", "create", "roundtrip", "cleanup";
// "passed", "failed", "not run".
const char* AccessStepKey(AccessStepName name);
const char* AccessOutcomeKey(AccessOutcome outcome);
// "0x80040154": eight hex digits, capitals.
std::wstring HresultText(std::int32_t hresult);

// A failed step as one line for the texts: the class concerned, the result
// code and the component's message, each where there is one
// ("ADOX.Catalog: 0x80040154 Class not registered").
std::wstring AccessFailureDetail(const AccessStep& step);
