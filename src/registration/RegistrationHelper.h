#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "HelperHost.h"
#include "RegistrationOutcome.h"

// The wizard's side of its registration helper: the program started again in
// its registration mode, which loads each component, calls its entry and frees
// it, so that a component that crashes or hangs takes only the helper with it.
// One helper serves many files; after a crash or a hang the next file gets a
// new one. Nothing here waits for the helper but Register, which hands every
// message that arrives meanwhile to its caller.
class RegistrationHelper {
 public:
  // Called while an answer is awaited, whenever messages arrive for this
  // thread; it handles them and says whether it wants to be called again.
  using WhileWaiting = std::function<bool()>;

  // `program`: the executable to start in registration mode.
  explicit RegistrationHelper(std::wstring program, DWORD timeLimitMs = kEntryTimeLimitMs);
  ~RegistrationHelper();
  RegistrationHelper(const RegistrationHelper&) = delete;
  RegistrationHelper& operator=(const RegistrationHelper&) = delete;

  // Starts a helper if none runs, without waiting for it; false once a
  // program started before could not be started, or did not answer as a
  // helper: it is not tried again.
  bool Start();

  // Registers one file in the helper. Nothing when no helper could be started
  // or the one started did not answer as a helper does: then nothing was tried.
  std::optional<RegistrationOutcome> Register(const std::wstring& path,
                                              const std::string& entryName,
                                              const WhileWaiting& whileWaiting = {});

  // The running helper's process id; 0 while none runs or it is still being
  // started.
  DWORD ProcessId() const;

 private:
  std::wstring program_;
  DWORD timeLimitMs_;
  std::unique_ptr<HelperHost> host_;
  bool unusable_ = false;
};
