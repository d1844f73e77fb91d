#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Deadline.h"
#include "RegistrationOutcome.h"
#include "UniqueHandle.h"

// The wizard's side of its registration helper: the program started again in
// its registration mode, which loads each component, calls its entry and frees
// it, so that a component that crashes or hangs takes only the helper with it.
// One helper serves many files; after a crash or a hang the next file gets a
// new one.
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

  // Starts a helper if none runs, without waiting for it to be ready; false
  // when the program cannot be started. A program that could not be started,
  // or did not answer as a helper, is not tried again.
  bool Start();

  // Registers one file in the helper. Nothing when no helper could be started
  // or the one started did not answer as a helper does: then nothing was tried.
  std::optional<RegistrationOutcome> Register(const std::wstring& path,
                                              const std::string& entryName,
                                              const WhileWaiting& whileWaiting = {});

  // The running helper's process id, 0 when none runs.
  DWORD ProcessId() const;

 private:
  enum class Waited { Done, Ended, TimedOut };
  Waited Transfer(bool write, void* data, DWORD size, const Deadline& deadline,
                  const WhileWaiting& whileWaiting);
  void Stop();

  std::wstring program_;
  DWORD timeLimitMs_;
  UniqueKernelHandle pipe_;
  UniqueKernelHandle process_;
  DWORD processId_ = 0;
  UniqueKernelHandle event_;
  UniqueKernelHandle job_;
  std::uint32_t sequence_ = 0;
  bool greeted_ = false;
  bool unusable_ = false;
};
