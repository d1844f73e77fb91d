#include "DroppedFiles.h"

#include <span>

#include "DropFilesBlock.h"
#include "LateImports.h"

namespace {

// The message that copies a drop's list into the receiving process; the SDK
// gives it no name.
constexpr UINT kCopyGlobalData = 0x0049;
constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD on Vista

std::wstring FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

}  // namespace

DroppedFiles TakeDroppedFiles(HDROP drop, std::size_t keep) {
  DroppedFiles files;
  files.unreadable = true;
  const auto memory = reinterpret_cast<HGLOBAL>(drop);
  // The block's own size bounds every read: the platform's DragQueryFileW
  // would walk it up to the first empty name, wherever that lies.
  const SIZE_T size = memory ? GlobalSize(memory) : 0;
  if (const auto* bytes = size ? static_cast<const std::uint8_t*>(GlobalLock(memory)) : nullptr) {
    if (const auto names = ReadDropFilesBlock(std::span(bytes, size), keep)) {
      files.unreadable = false;
      files.count = names->count;
      for (const std::u16string& name : names->wideNames)
        files.paths.emplace_back(name.begin(), name.end());
      for (const std::string& name : names->ansiNames) files.paths.push_back(FromAnsi(name));
    }
    GlobalUnlock(memory);
  }
  // A handle that is no memory block was never the platform's to give.
  if (size)
    if (const auto finish = Shell32::DragFinish.Find()) finish(drop);
  return files;
}

DropsAllowed AcceptDroppedFiles(HWND window) {
  // What DragAcceptFiles does, without loading the shell at the wizard's
  // start: the platform drops files on windows with this style.
  SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  const UINT messages[] = {WM_DROPFILES, WM_COPYDATA, kCopyGlobalData};
  if (const auto perWindow = User32::ChangeWindowMessageFilterEx.Find()) {
    bool allowed = true;
    for (UINT message : messages) allowed = perWindow(window, message, kAllow, nullptr) && allowed;
    return allowed ? DropsAllowed::ForTheWindow : DropsAllowed::Refused;
  }
  if (const auto perProcess = User32::ChangeWindowMessageFilter.Find()) {
    bool allowed = true;
    for (UINT message : messages) allowed = perProcess(message, kAllow) && allowed;
    return allowed ? DropsAllowed::ForTheProcess : DropsAllowed::Refused;
  }
  return DropsAllowed::NotNeeded;
}
