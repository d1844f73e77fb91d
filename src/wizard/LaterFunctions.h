#pragma once

#include <windows.h>
// These need the types of windows.h.
#include <commdlg.h>
#include <shellapi.h>

// The functions of the Open dialog, the file drop and the message filter,
// taken at run time instead of imported: comdlg32 is needed only when the
// user opens the dialog, and the message filter came after Windows XP. A
// DLL is loaded by its full path in the system folder, never by its bare
// name (the program runs elevated, often from a downloads folder, where a
// planted copy would be found first), and stays loaded.
// The address of `name` in the system folder's `dll`; null when either is
// missing.
using AnyLaterFunction = void (*)();
AnyLaterFunction FindLaterFunction(const wchar_t* dll, const char* name);

template <typename Pointer>
class LaterFunction {
 public:
  constexpr LaterFunction(const wchar_t* dll, const char* name) : dll_(dll), name_(name) {}
  // The function; null where this system lacks it. A function pointer of
  // type void (*)() converts to every other one without a warning.
  Pointer Find() const { return reinterpret_cast<Pointer>(FindLaterFunction(dll_, name_)); }

 private:
  const wchar_t* dll_;
  const char* name_;
};

namespace Comdlg32 {
inline constexpr LaterFunction<decltype(&::GetOpenFileNameW)> GetOpenFileNameW{L"comdlg32.dll",
                                                                               "GetOpenFileNameW"};
}  // namespace Comdlg32

namespace Shell32 {
inline constexpr LaterFunction<decltype(&::DragAcceptFiles)> DragAcceptFiles{L"shell32.dll",
                                                                             "DragAcceptFiles"};
inline constexpr LaterFunction<decltype(&::DragFinish)> DragFinish{L"shell32.dll", "DragFinish"};
}  // namespace Shell32

namespace User32 {
// Windows 7 and later: which messages reach one window from programs with
// fewer rights.
inline constexpr LaterFunction<BOOL(WINAPI*)(HWND, UINT, DWORD, void*)> ChangeWindowMessageFilterEx{
    L"user32.dll", "ChangeWindowMessageFilterEx"};
// Windows Vista: the same for every window of the process.
inline constexpr LaterFunction<BOOL(WINAPI*)(UINT, DWORD)> ChangeWindowMessageFilter{
    L"user32.dll", "ChangeWindowMessageFilter"};
}  // namespace User32
