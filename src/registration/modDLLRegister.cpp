#include "modDLLRegister.h"

#include <memory>

#include "RaisedError.h"
#include "RegistrationReport.h"
#include "UniqueHandle.h"
#include "modFunctionDelegator.h"

namespace {

struct ReleaseUnknown {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};
using UniqueUnknown = std::unique_ptr<IUnknown, ReleaseUnknown>;

// Calls the entry through a call object and gives back its status.
HRESULT CallEntry(FARPROC entry) {
  UniqueUnknown object(CreateDelegator(entry));
  IDelegatedCall* call = nullptr;
  const HRESULT asked = object->QueryInterface(IID_IDelegatedCall, reinterpret_cast<void**>(&call));
  if (FAILED(asked) || !call) return FAILED(asked) ? asked : E_NOINTERFACE;
  UniqueUnknown callReference(call);
  return call->Call();
}

}  // namespace

HMODULE LoadComponent(const std::wstring& path) {
  // Loaded with its imports bound and its initialisation run: an entry of a
  // file loaded without them crashes when called.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

RegistrationOutcome RegisterInThisProcess(const std::wstring& path, const std::string& entryName) {
  RegistrationOutcome outcome;
  UniqueModule library(LoadComponent(path));
  if (!library) {
    outcome.loadError = GetLastError();
    return outcome;
  }
  outcome.loaded = true;
  const FARPROC entry = GetProcAddress(library.get(), entryName.c_str());
  // A file without the entry is not called: there is nothing to call.
  outcome.entryFound = entry != nullptr;
  if (!entry) return outcome;
  try {
    outcome.entryResult = CallEntry(entry);
  } catch (const RaisedError&) {
    outcome.entryResult = E_OUTOFMEMORY;  // no call object could be made
  }
  return outcome;
}

void RegisterComponent(HWND owner, const std::wstring& path, const std::string& entryName,
                       const std::wstring& displayName) {
  const std::wstring name = displayName;
  ShowRegistrationProblem(owner, RegisterInThisProcess(path, entryName), name);
}

std::wstring GetSystemErrorText(DWORD code) {
  wchar_t buffer[256] = {};
  // Texts with insert markers keep them: there is nothing to put in.
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, buffer, 256, nullptr);
  if (n == 0) return L"Error text not found.";
  return std::wstring(buffer, n);
}
