#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// Work that may block for as long as the platform takes to answer (a file on
// a network share that no longer answers) runs on a thread of its own, never
// on a window's thread; its result comes back through the window's message
// queue. Nobody ever waits for that thread: an owner that goes away, or starts
// newer work, only says that it wants no more of the results so far, and the
// thread ends whenever its call returns, dropping what it found.
//
// The thread must run nothing that needs the owner or the window: it gets a
// function that carries what it needs by value.
template <typename Result>
class BackgroundTask {
 public:
  BackgroundTask() = default;
  ~BackgroundTask() { Forget(); }
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Starts `work` on a thread of its own and forgets the work started before.
  // When it is done, `message` is posted to `window` with the number returned
  // here as its wParam, unless newer work was started or Forget() was called
  // meanwhile. An exception from `work` gives a default Result. 0 when no
  // thread could be started.
  unsigned Start(HWND window, UINT message, std::function<Result()> work) {
    unsigned number = 0;
    {
      const std::lock_guard<std::mutex> hold(mailbox_->lock);
      number = ++mailbox_->started;
      if (number == 0) number = ++mailbox_->started;  // 0 says "nothing started"
      mailbox_->window = window;
      mailbox_->message = message;
      mailbox_->newest = number;
      mailbox_->result.reset();
    }
    try {
      std::thread(&BackgroundTask::Run, mailbox_, number, std::move(work)).detach();
    } catch (...) {
      const std::lock_guard<std::mutex> hold(mailbox_->lock);
      mailbox_->newest = 0;
      return 0;
    }
    return number;
  }

  // The result of the work numbered `number`, once its message has come and
  // while it is the newest; nothing otherwise, and nothing when taken before.
  std::optional<Result> Take(WPARAM number) {
    const std::lock_guard<std::mutex> hold(mailbox_->lock);
    if (number == 0 || number != mailbox_->newest || !mailbox_->result) return std::nullopt;
    mailbox_->newest = 0;
    return std::exchange(mailbox_->result, std::nullopt);
  }

  // Whether the newest work is still wanted and has not been taken.
  bool Pending() const {
    const std::lock_guard<std::mutex> hold(mailbox_->lock);
    return mailbox_->newest != 0;
  }

  // No result of the work started so far is wanted any more.
  void Forget() {
    const std::lock_guard<std::mutex> hold(mailbox_->lock);
    mailbox_->newest = 0;
    mailbox_->window = nullptr;
    mailbox_->result.reset();
  }

 private:
  // Shared by the owner and every thread it started: whoever is last frees it.
  struct Mailbox {
    mutable std::mutex lock;
    HWND window = nullptr;
    UINT message = 0;
    unsigned started = 0;  // the number of the last work started
    unsigned newest = 0;   // the work whose result is wanted; 0: none
    std::optional<Result> result;
  };

  static void Run(std::shared_ptr<Mailbox> mailbox, unsigned number, std::function<Result()> work) {
    std::optional<Result> result;
    try {
      result = work();
    } catch (...) {
      result = Result{};
    }
    const std::lock_guard<std::mutex> hold(mailbox->lock);
    if (number != mailbox->newest || !mailbox->window) return;
    mailbox->result = std::move(result);
    // A window that is gone by now takes no message: the result is dropped
    // with the mailbox.
    if (!PostMessageW(mailbox->window, mailbox->message, number, 0)) mailbox->result.reset();
  }

  std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
};
