#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "AccessDatabases.h"
#include "AccessProtocol.h"
#include "AccessTestResult.h"
#include "Deadline.h"
#include "HelperHost.h"

// The whole access test may take this long; then its helper is ended.
inline constexpr DWORD kAccessTimeLimitMs = 20000;

// The scratch folders of the access test: the files of every database kind
// the test makes are the only ones their removal deletes.
ScratchFolderKind AccessScratchFolderKind();

// The caller's side of the database access test: a scratch folder, then the
// program started again as the access helper, which runs the components.
// Nothing here waits: `Start` returns at once and `Poll` says whether the
// result is in. A helper that crashes, hangs past the time limit or talks
// nonsense gives a failed step naming the step it was in. The helper is
// ended and the folder removed on every way out; the destructor leaves
// both to the helper host, which never waits either.
class AccessTest {
 public:
  // `program`: the executable to start as the helper.
  explicit AccessTest(std::wstring program, DWORD timeLimitMs = kAccessTimeLimitMs,
                      AccessDatabaseKind kind = AccessDatabaseKind::JetMdb);
  ~AccessTest();
  AccessTest(const AccessTest&) = delete;
  AccessTest& operator=(const AccessTest&) = delete;

  // Makes the folder and starts the helper; a failure of either is part of
  // the result. Only the first call does anything.
  void Start();
  // Takes what the helper said; true once the result is in.
  bool Poll();
  bool Done() const { return done_; }
  // Signalled when there is news from the helper; null when none runs.
  HANDLE WaitHandle() const { return host_ ? host_->Changed() : nullptr; }
  // Milliseconds until the time limit, 0 when it is reached.
  DWORD TimeLeft() const;
  const AccessTestResult& Result() const { return result_; }
  // The helper's process id while it runs (for the tests), else 0.
  DWORD ProcessId() const;

 private:
  enum class Ending { Finished, Ended, TimedOut, Broken, NotStarted };
  void Conclude(const HelperHost::Status& status);

  std::wstring program_;
  DWORD timeLimitMs_;
  AccessDatabaseKind kind_;
  Deadline deadline_{0};  // made again when the test starts
  std::unique_ptr<HelperHost> host_;
  std::wstring folder_, folderParent_;
  DWORD folderError_ = ERROR_SUCCESS;
  AccessProtocol::Reader reader_;
  std::optional<Ending> ending_;
  Deadline endGrace_{0};  // made when the ending is known
  AccessTestResult result_;
  bool started_ = false, done_ = false;
};

// Waits for a test started before to end, as RunAccessTest does.
AccessTestResult AwaitAccessTest(AccessTest& test, const std::function<bool()>& whileWaiting = {});

// Runs the test to its end. `whileWaiting` is called whenever messages
// arrive for this thread meanwhile; it handles them and says whether the test
// is still wanted: false ends it at once, with every step not run.
AccessTestResult RunAccessTest(const std::wstring& program, DWORD timeLimitMs = kAccessTimeLimitMs,
                               const std::function<bool()>& whileWaiting = {});
