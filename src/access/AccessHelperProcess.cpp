#include "AccessHelperProcess.h"

#include <optional>

#include "AccessClasses.h"
#include "AccessProtocol.h"
#include "AccessRoundTrip.h"
#include "HelperSide.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

// Runs one step, said before it starts, so that the caller knows which step
// a crash or a hang ended. An exception that reaches here fails the step: a
// component's C++ exception does where the unwinding crosses modules (x86_64),
// on i686 it ends the process.
template <typename Work>
bool RunStep(HelperSide& side, AccessStepName name, Work work, AccessStep& found) {
  if (!side.Answer(AccessProtocol::kBegins, AccessProtocol::Begins(name))) return false;
  try {
    found = work();
  } catch (...) {
    found = AccessStep{};
    found.outcome = AccessOutcome::Failed;
    found.hresult = E_UNEXPECTED;
    found.message = LoadText(IDS_ACCESS_EXCEPTION);
  }
  found.step = name;
  return side.Answer(AccessProtocol::kStep, AccessProtocol::Step(found));
}

// The steps for one database kind; false once the caller cannot be told.
bool RunTest(HelperSide& side, const AccessDatabase& database, const std::wstring& folder) {
  AccessStep found;
  bool going = RunStep(
      side, AccessStepName::Classes, [&] { return CheckAccessClasses(database.provider); }, found);
  std::optional<AccessRoundTrip> trip;
  if (going && found.outcome == AccessOutcome::Passed && !folder.empty()) {
    trip.emplace(folder, database);
    going = RunStep(
        side, AccessStepName::Create, [&] { return trip->Create(); }, found);
    if (going && found.outcome == AccessOutcome::Passed)
      going = RunStep(
          side, AccessStepName::RoundTrip, [&] { return trip->RoundTrip(); }, found);
  }
  if (going)
    going = RunStep(
        side, AccessStepName::Cleanup,
        [&] {
          AccessStep nothingOpened;
          nothingOpened.outcome = AccessOutcome::Passed;
          return trip ? trip->Cleanup() : nothingOpened;
        },
        found);
  return going && side.Answer(AccessProtocol::kFinished, {});
}

}  // namespace

bool IsAccessHelper(const wchar_t* commandLine) {
  return IsHelperCommandLine(commandLine, kAccessHelperSwitch);
}

int RunAccessHelper() {
  // Database programs call ADO from a single-threaded apartment.
  return ServeAsHelper(kAccessHelperSwitch, AccessProtocol::kUse, ComApartment::Kind::Com,
                       AccessProtocol::kMaxRequestPayload,
                       [](HelperSide& side, const HelperFraming::Record& request) {
                         std::uint32_t kind = 0;
                         std::wstring folder;
                         if (request.tag != AccessProtocol::kRun ||
                             !AccessProtocol::ReadRunRequest(request.payload, kind, folder))
                           return false;
                         const AccessDatabase* database = FindAccessDatabase(kind);
                         return database && RunTest(side, *database, folder);
                       });
}
