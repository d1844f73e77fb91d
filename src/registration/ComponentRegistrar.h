#pragma once

#include <windows.h>

#include <string>

#include "RegistrationHelper.h"
#include "RegistrationOutcome.h"

// Registers the components of one repair run, one at a time: in a helper
// process while one can be started, else in this process with OLE initialised
// on the calling thread for as long as the registrar lives.
class ComponentRegistrar {
 public:
  // `program`: the executable to start as helper (this program itself).
  explicit ComponentRegistrar(std::wstring program, DWORD timeLimitMs = kEntryTimeLimitMs);
  ~ComponentRegistrar();
  ComponentRegistrar(const ComponentRegistrar&) = delete;
  ComponentRegistrar& operator=(const ComponentRegistrar&) = delete;

  RegistrationOutcome Register(const std::wstring& path, const std::string& entryName,
                               const RegistrationHelper::WhileWaiting& whileWaiting = {});

  // Whether the last registration ran in this process, for want of a helper.
  bool RegisteredInThisProcess() const { return inThisProcess_; }

 private:
  RegistrationHelper helper_;
  bool oleInitialised_ = false;
  bool inThisProcess_ = false;
};
