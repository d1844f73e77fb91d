#pragma once

#include <windows.h>

#include <string>

#include "RegistrationHelper.h"
#include "RegistrationOutcome.h"

// Registers the components of one repair run, one at a time, in a helper
// process. When none can be started, no component is loaded: each outcome
// says that the helper was not there.
class ComponentRegistrar {
 public:
  // `program`: the executable to start as helper (this program itself).
  explicit ComponentRegistrar(std::wstring program, DWORD timeLimitMs = kEntryTimeLimitMs);
  ComponentRegistrar(const ComponentRegistrar&) = delete;
  ComponentRegistrar& operator=(const ComponentRegistrar&) = delete;

  RegistrationOutcome Register(const std::wstring& path, const std::string& entryName,
                               const RegistrationHelper::WhileWaiting& whileWaiting = {});

 private:
  RegistrationHelper helper_;
};
