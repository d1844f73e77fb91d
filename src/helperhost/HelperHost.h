#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HelperFraming.h"
#include "ScratchFolder.h"

// What a use of the host (the registration helper, the access test, ...)
// starts its helper with and expects of it.
struct HelperLaunch {
  std::wstring program;                    // this program, started again as the helper
  const wchar_t* helperSwitch = L"";       // on its command line, before the channel
  std::uint32_t use = 0;                   // what the helper's greeting must name
  std::vector<std::uint32_t> closingTags;  // the answers that end a request
  std::size_t maxPayload = 0;              // the longest answer record's payload
  std::size_t maxAnswerBytes = 0;          // all the answers to one request together
  // The user the helper runs as (a restricted copy of this process's token,
  // say); null: as this process.
  HANDLE token = nullptr;
  // How long a helper told to end (its requests closed) may take before it
  // is ended.
  DWORD exitWait = 2000;
  // The requests it gets at most (0: any number): once the last is sent, its
  // requests are closed, so that it ends as soon as it has answered.
  std::uint32_t maxRequests = 0;
};

// One helper process and its channel, from its start to its end. Nothing
// here waits: the start, the reading, the writing and the ending happen on a
// thread of the helper's own (its keeper), and the caller only asks what is
// known now, or waits on `Changed()` where it may wait. The host owns the
// helper until it has ended: when the object goes, the keeper sees the
// helper end (asked to end if idle, ended at once if a request was in hand),
// then removes its scratch folder. WaitForHelpersToEnd waits for all keepers
// at the end of the program.
class HelperHost {
 public:
  // Starts the helper; `folder` (made by the caller) goes with it and is
  // removed once the helper has ended.
  explicit HelperHost(HelperLaunch launch, std::optional<ScratchFolder> folder = std::nullopt);
  ~HelperHost();
  HelperHost(const HelperHost&) = delete;
  HelperHost& operator=(const HelperHost&) = delete;

  // Sends a request as soon as the helper has greeted; false while one is in
  // hand or once the helper is gone.
  bool Ask(std::uint32_t tag, std::vector<std::uint8_t> payload);
  // The answers that arrived since the last call, in order.
  std::vector<HelperFraming::Record> TakeAnswers();
  // No more requests: the helper, its pipes closed, ends on its own.
  void Dismiss();
  // Ends the helper (and whatever it started) now; the keeper sees it go.
  void End(UINT exitCode);

  struct Status {
    bool started = false;      // the process runs (or ran)
    DWORD startError = 0;      // why it could not be started; 0 while none
    bool greeted = false;      // it greeted as a helper of its use
    bool broken = false;       // it said what no helper says (bounds, order)
    bool answered = true;      // the request in hand has had its closing answer
    bool ended = false;        // the process has ended
    bool undelivered = false;  // the helper was gone before a request reached it
    DWORD exitCode = 0;        // once ended
    // Once ended: whether its folder went (ERROR_SUCCESS), or why not.
    std::optional<DWORD> folderRemoval;
    DWORD processId = 0;
  };
  Status Now() const;
  // Whether the helper has ended, also where its keeper has not seen it yet.
  bool HasEnded() const;
  // An event signalled whenever something new is known.
  HANDLE Changed() const;

  struct Keeper;  // the state the owner and the keeper share

  // For the tests: every helper started from now on is never seen to end
  // once ended, as one stuck in the kernel would not be (Wine ends a
  // terminated process at once); false lets those seen so far end.
  static void PretendHelpersNeverEndForTests(bool never);

 private:
  std::shared_ptr<Keeper> keeper_;
};

// For the end of the program, once no window is left to answer: waits up to
// `milliseconds` for every helper to end and its scratch folder to go; false
// when one is left (its folder is then removed at the next start).
bool WaitForHelpersToEnd(DWORD milliseconds);
