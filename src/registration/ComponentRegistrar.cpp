#include "ComponentRegistrar.h"

#include <ole2.h>

#include "modDLLRegister.h"

ComponentRegistrar::ComponentRegistrar(std::wstring program, DWORD timeLimitMs)
    : helper_(std::move(program), timeLimitMs) {
  // Started at once: it gets ready while the run shows its first file.
  helper_.Start();
}

ComponentRegistrar::~ComponentRegistrar() {
  if (oleInitialised_) OleUninitialize();
}

RegistrationOutcome ComponentRegistrar::Register(
    const std::wstring& path, const std::string& entryName,
    const RegistrationHelper::WhileWaiting& whileWaiting) {
  if (std::optional<RegistrationOutcome> outcome =
          helper_.Register(path, entryName, whileWaiting)) {
    inThisProcess_ = false;
    return *outcome;
  }
  // No helper: the components still need the apartment the platform's
  // registration tool would give them.
  if (!oleInitialised_) oleInitialised_ = SUCCEEDED(OleInitialize(nullptr));
  inThisProcess_ = true;
  return RegisterInThisProcess(path, entryName);
}
