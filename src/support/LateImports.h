#pragma once

#include <windows.h>
// These need the types of windows.h.
#include <commdlg.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include "SystemFunction.h"

// Every function the program takes at run time (see SystemFunction.h), one
// table per DLL. Nothing here is imported by name: the test `imports` fails
// when the program imports anything of these DLLs, or a function that
// Windows XP without a service pack lacks.
//
// To add one, write one line in its DLL's table:
//
//   inline constexpr SystemFunction<decltype(&::GetOpenFileNameW)> GetOpenFileNameW{
//       SystemLibrary::Comdlg32, "GetOpenFileNameW", FALSE};
//
// - The type: `decltype(&::Name)` where the SDK declares the function for XP
//   (_WIN32_WINNT 0x0501), with its header included above; otherwise spell
//   the pointer type out (`BOOL(WINAPI*)(HWND, UINT, DWORD, void*)`), with
//   any structure it takes declared beside it. Use the W form.
// - The last argument: what a call gives where the function cannot be had,
//   for a function with a result. Code that must work where a release lacks
//   the function asks `Name.Find()` and takes its own way round when it is
//   null; a test runs that way with PretendAbsent({"Name"}).
// - A DLL not in SystemLibrary yet: add it there and its file name in
//   SystemFunction.cpp; it is then loaded from the system folder on first use.
//   Not while file system redirection is off on the calling thread
//   (Wow64DisableWow64FsRedirection): the system folder would then be the
//   64-bit one.
// - Call it as `Kernel32::Name(...)` or through `Find()`.

// What a call of a missing COM or shell function gives: "The specified
// procedure could not be found."
inline constexpr HRESULT kSystemFunctionMissing =
    static_cast<HRESULT>(0x80070000u | ERROR_PROC_NOT_FOUND);

namespace Kernel32 {

// Windows Vista and later. Before it, GetLocaleInfoW with an LCID.
inline constexpr SystemFunction<int(WINAPI*)(LPCWSTR, LCTYPE, LPWSTR, int)> GetLocaleInfoEx{
    SystemLibrary::Kernel32, "GetLocaleInfoEx", 0};

// 64-bit Windows as a 32-bit program sees it (Wow64.h). IsWow64Process came
// with XP SP2, file system redirection with XP x64 and Server 2003 SP1;
// without them there is no WOW64.
inline constexpr SystemFunction<decltype(&::IsWow64Process)> IsWow64Process{
    SystemLibrary::Kernel32, "IsWow64Process", FALSE};
inline constexpr SystemFunction<decltype(&::GetSystemWow64DirectoryW)> GetSystemWow64DirectoryW{
    SystemLibrary::Kernel32, "GetSystemWow64DirectoryW", 0u};
inline constexpr SystemFunction<decltype(&::Wow64DisableWow64FsRedirection)>
    Wow64DisableWow64FsRedirection{SystemLibrary::Kernel32, "Wow64DisableWow64FsRedirection",
                                   FALSE};
inline constexpr SystemFunction<decltype(&::Wow64RevertWow64FsRedirection)>
    Wow64RevertWow64FsRedirection{SystemLibrary::Kernel32, "Wow64RevertWow64FsRedirection", FALSE};

// The DLL search of the program's processes (DllSearchOrder.h):
// SetDefaultDllDirectories came with Windows 8 (and 7 with KB2533623),
// SetDllDirectoryW with XP SP1.
inline constexpr SystemFunction<BOOL(WINAPI*)(DWORD)> SetDefaultDllDirectories{
    SystemLibrary::Kernel32, "SetDefaultDllDirectories", FALSE};
inline constexpr SystemFunction<BOOL(WINAPI*)(LPCWSTR)> SetDllDirectoryW{SystemLibrary::Kernel32,
                                                                         "SetDllDirectoryW", FALSE};

// The list of the handles a helper inherits (HelperStart.cpp): Windows Vista
// and later. The list itself is opaque.
inline constexpr SystemFunction<BOOL(WINAPI*)(void*, DWORD, DWORD, SIZE_T*)>
    InitializeProcThreadAttributeList{SystemLibrary::Kernel32, "InitializeProcThreadAttributeList",
                                      FALSE};
inline constexpr SystemFunction<BOOL(WINAPI*)(void*, DWORD, DWORD_PTR, void*, SIZE_T, void*,
                                              SIZE_T*)>
    UpdateProcThreadAttribute{SystemLibrary::Kernel32, "UpdateProcThreadAttribute", FALSE};
inline constexpr SystemFunction<void(WINAPI*)(void*)> DeleteProcThreadAttributeList{
    SystemLibrary::Kernel32, "DeleteProcThreadAttributeList"};

}  // namespace Kernel32

// COM, for the helpers that run components: the registration helper and the
// access test's helper.
namespace Ole32 {

inline constexpr SystemFunction<decltype(&::CoInitializeEx)> CoInitializeEx{
    SystemLibrary::Ole32, "CoInitializeEx", kSystemFunctionMissing};
inline constexpr SystemFunction<decltype(&::CoUninitialize)> CoUninitialize{SystemLibrary::Ole32,
                                                                            "CoUninitialize"};
inline constexpr SystemFunction<decltype(&::OleInitialize)> OleInitialize{
    SystemLibrary::Ole32, "OleInitialize", kSystemFunctionMissing};
inline constexpr SystemFunction<decltype(&::OleUninitialize)> OleUninitialize{SystemLibrary::Ole32,
                                                                              "OleUninitialize"};
inline constexpr SystemFunction<decltype(&::CLSIDFromProgID)> CLSIDFromProgID{
    SystemLibrary::Ole32, "CLSIDFromProgID", kSystemFunctionMissing};
inline constexpr SystemFunction<decltype(&::CoCreateInstance)> CoCreateInstance{
    SystemLibrary::Ole32, "CoCreateInstance", kSystemFunctionMissing};
inline constexpr SystemFunction<decltype(&::StringFromGUID2)> StringFromGUID2{SystemLibrary::Ole32,
                                                                              "StringFromGUID2", 0};
inline constexpr SystemFunction<decltype(&::CoTaskMemAlloc)> CoTaskMemAlloc{
    SystemLibrary::Ole32, "CoTaskMemAlloc", nullptr};
inline constexpr SystemFunction<decltype(&::CoTaskMemFree)> CoTaskMemFree{SystemLibrary::Ole32,
                                                                          "CoTaskMemFree"};

}  // namespace Ole32

// Automation: the access test's helper calls ADO by name.
namespace OleAut32 {

inline constexpr SystemFunction<decltype(&::SysAllocStringLen)> SysAllocStringLen{
    SystemLibrary::OleAut32, "SysAllocStringLen", nullptr};
inline constexpr SystemFunction<decltype(&::SysStringLen)> SysStringLen{SystemLibrary::OleAut32,
                                                                        "SysStringLen", 0u};
inline constexpr SystemFunction<decltype(&::SysFreeString)> SysFreeString{SystemLibrary::OleAut32,
                                                                          "SysFreeString"};
inline constexpr SystemFunction<decltype(&::VariantClear)> VariantClear{
    SystemLibrary::OleAut32, "VariantClear", kSystemFunctionMissing};
inline constexpr SystemFunction<decltype(&::VariantChangeType)> VariantChangeType{
    SystemLibrary::OleAut32, "VariantChangeType", kSystemFunctionMissing};

}  // namespace OleAut32

// The shell: the links and the common files folder.
namespace Shell32 {

inline constexpr SystemFunction<decltype(&::ShellExecuteW)> ShellExecuteW{SystemLibrary::Shell32,
                                                                          "ShellExecuteW", nullptr};
inline constexpr SystemFunction<decltype(&::SHGetFolderPathW)> SHGetFolderPathW{
    SystemLibrary::Shell32, "SHGetFolderPathW", kSystemFunctionMissing};
// Gives back the block of files dropped on a window.
inline constexpr SystemFunction<decltype(&::DragFinish)> DragFinish{SystemLibrary::Shell32,
                                                                    "DragFinish"};

}  // namespace Shell32

// The Open dialog of the database check, needed only when the user opens it.
namespace Comdlg32 {

inline constexpr SystemFunction<decltype(&::GetOpenFileNameW)> GetOpenFileNameW{
    SystemLibrary::Comdlg32, "GetOpenFileNameW", FALSE};

}  // namespace Comdlg32

// Which messages reach the wizard's windows from programs with fewer rights.
namespace User32 {

// Windows 7 and later: for one window.
inline constexpr SystemFunction<BOOL(WINAPI*)(HWND, UINT, DWORD, void*)>
    ChangeWindowMessageFilterEx{SystemLibrary::User32, "ChangeWindowMessageFilterEx", FALSE};
// Windows Vista: for every window of the process.
inline constexpr SystemFunction<BOOL(WINAPI*)(UINT, DWORD)> ChangeWindowMessageFilter{
    SystemLibrary::User32, "ChangeWindowMessageFilter", FALSE};

}  // namespace User32
