#include "modDLLRegister.h"

#include <memory>

#include "AbsolutePath.h"
#include "FormatPlaceholders.h"
#include "InsertMarker.h"
#include "LoadText.h"
#include "RaisedError.h"
#include "TextIds.h"
#include "UniqueHandle.h"
#include "modFunctionDelegator.h"

namespace {

struct ReleaseUnknown {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};
using UniqueUnknown = std::unique_ptr<IUnknown, ReleaseUnknown>;

void Show(const std::wstring& text) {
  MessageBoxW(GetActiveWindow(), text.c_str(), LoadText(IDS_CAPTION).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

// Calls the entry; true when it ran and reported success.
bool CallEntry(FARPROC entry) {
  // A file without the entry is not called: there is nothing to call.
  if (!entry) return false;
  UniqueUnknown object(CreateDelegator(entry));
  IDelegatedCall* call = nullptr;
  if (FAILED(object->QueryInterface(IID_IDelegatedCall, reinterpret_cast<void**>(&call))) || !call)
    return false;
  UniqueUnknown callReference(call);
  return SUCCEEDED(call->Call());
}

}  // namespace

void RegisterComponent(const std::wstring& path, const std::string& entryName,
                       const std::wstring& displayName) {
  const std::wstring name = displayName;
  // A path that is not absolute would be looked for relative to the current
  // drive and folder, where anyone may have put a file of that name: it is
  // never loaded, and reported as the missing file it stands for.
  if (!IsAbsolutePath(path)) {
    Show(FormatPlaceholders(LoadText(IDS_LOAD_PROBLEM),
                            {name, GetSystemErrorText(ERROR_FILE_NOT_FOUND, name)}));
    return;
  }
  // Loaded with its imports bound and its initialisation run: an entry of a
  // file loaded without them crashes when called.
  UniqueModule library(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) {
    const DWORD error = GetLastError();
    Show(FormatPlaceholders(LoadText(IDS_LOAD_PROBLEM), {name, GetSystemErrorText(error, name)}));
    return;
  }
  bool registered = false;
  try {
    registered = CallEntry(GetProcAddress(library.get(), entryName.c_str()));
  } catch (const RaisedError&) {
    registered = false;
  }
  if (!registered) {
    library.reset();
    Show(FormatPlaceholders(LoadText(IDS_REGISTER_PROBLEM), {name}));
  }
}

std::wstring GetSystemErrorText(DWORD code, const std::wstring& fileName) {
  wchar_t buffer[256] = {};
  // Read with the markers left in ("Bad EXE format for %1."): the first gets
  // the file's name, the others have nothing to stand for and stay.
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, buffer, 256, nullptr);
  if (n == 0) return L"Error text not found.";
  return FillFirstInsertMarker(std::wstring(buffer, n), fileName);
}
