#include "Clipboard.h"

#include <cstring>

#include "UniqueHandle.h"

namespace {

using UniqueGlobal = UniqueHandle<HGLOBAL, &::GlobalFree>;

// The clipboard is open for this object's lifetime.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* target = GlobalLock(memory.get());
  if (!target) return false;
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  const OpenClipboardScope clipboard(owner);
  if (!clipboard || !EmptyClipboard()) return false;
  // Once the clipboard has taken the memory, it is the clipboard's to free.
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();
  return true;
}
