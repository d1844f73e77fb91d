#pragma once

#include <windows.h>

#include <utility>

// Owns one platform handle and gives it back with `Close` on every path.
// Move-only: a copy would close the handle twice. Never wrap a predefined
// registry root: those are not ours to close.
template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid; }

  // Gives up ownership without closing.
  T release() { return std::exchange(handle_, Invalid); }

  void reset(T handle = Invalid) {
    const T old = std::exchange(handle_, handle);
    if (old != Invalid) Close(old);
  }

  // For create calls that write the handle through a pointer; closes the old one.
  T* put() {
    reset();
    return &handle_;
  }

 private:
  T handle_ = Invalid;
};

using UniqueHKEY = UniqueHandle<HKEY, &::RegCloseKey>;
// Kernel objects whose failure value is null (mappings, processes, events).
using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;

// What CreateFileW and CreateNamedPipeW hand back: their failure value is
// INVALID_HANDLE_VALUE, which is no constant the template above can take, so
// it is turned into the empty owner on the way in.
class UniqueFileHandle : public UniqueKernelHandle {
 public:
  UniqueFileHandle() = default;
  explicit UniqueFileHandle(HANDLE handle)
      : UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

// A search of FindFirstFileW; its failure value is INVALID_HANDLE_VALUE too.
class UniqueFindHandle {
 public:
  explicit UniqueFindHandle(HANDLE search)
      : search_(search == INVALID_HANDLE_VALUE ? nullptr : search) {}
  HANDLE get() const { return search_.get(); }
  explicit operator bool() const { return static_cast<bool>(search_); }

 private:
  UniqueHandle<HANDLE, &::FindClose> search_;
};

// Both handles of a started process, each given back on every path.
struct UniqueProcess {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;

  UniqueProcess() = default;
  explicit UniqueProcess(const PROCESS_INFORMATION& started)
      : process(started.hProcess), thread(started.hThread) {}
};
// Memory the platform hands back to be freed with LocalFree (security
// descriptors, SID strings).
using UniqueLocalMemory = UniqueHandle<HLOCAL, &::LocalFree>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary>;
// Memory the platform hands out with LocalAlloc (security descriptors, texts).
using UniqueLocal = UniqueHandle<HLOCAL, &::LocalFree>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &::DestroyMenu>;
using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;
using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &::DeleteObject>;
