#pragma once

#include <windows.h>

// Functions that came after the oldest Windows the program runs on (XP
// without a service pack): looked up at run time in the module that exports
// them, never imported by name, so that the loader never refuses the program.
// Each answers null where the platform lacks it, or while a test pretends so.
// Their types are spelled out here: the platform headers hide them below
// the release they came with.
namespace LaterFunctions {

enum class Name {
  SetDefaultDllDirectories,           // Windows 8, Windows 7 with KB2533623
  SetDllDirectoryW,                   // XP SP1
  InitializeProcThreadAttributeList,  // Vista
  UpdateProcThreadAttribute,          // Vista
  DeleteProcThreadAttributeList,      // Vista
  kCount
};

// An opaque attribute list of a process start.
using AttributeList = void*;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryWFn = BOOL(WINAPI*)(LPCWSTR);
using InitializeProcThreadAttributeListFn = BOOL(WINAPI*)(AttributeList, DWORD, DWORD, SIZE_T*);
using UpdateProcThreadAttributeFn = BOOL(WINAPI*)(AttributeList, DWORD, DWORD_PTR, void*, SIZE_T,
                                                  void*, SIZE_T*);
using DeleteProcThreadAttributeListFn = void(WINAPI*)(AttributeList);

SetDefaultDllDirectoriesFn SetDefaultDllDirectories();
SetDllDirectoryWFn SetDllDirectoryW();
InitializeProcThreadAttributeListFn InitializeProcThreadAttributeList();
UpdateProcThreadAttributeFn UpdateProcThreadAttribute();
DeleteProcThreadAttributeListFn DeleteProcThreadAttributeList();

// For the tests: the function answers null from now on, as on an older
// Windows (or again what the platform has).
void PretendAbsent(Name name, bool absent = true);

}  // namespace LaterFunctions
