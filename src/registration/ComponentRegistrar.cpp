#include "ComponentRegistrar.h"

ComponentRegistrar::ComponentRegistrar(std::wstring program, DWORD timeLimitMs)
    : helper_(std::move(program), timeLimitMs) {
  // Started at once: it gets ready while the run shows its first file.
  helper_.Start();
}

RegistrationOutcome ComponentRegistrar::Register(
    const std::wstring& path, const std::string& entryName,
    const RegistrationHelper::WhileWaiting& whileWaiting) {
  if (std::optional<RegistrationOutcome> outcome = helper_.Register(path, entryName, whileWaiting))
    return *outcome;
  // A component's code runs only where a crash or a hang costs nothing but a
  // helper: without one it is not loaded at all, and says so.
  RegistrationOutcome outcome;
  outcome.helperUnavailable = true;
  return outcome;
}
