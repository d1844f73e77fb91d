#include "modDLLRegister.h"

#include <memory>

#include "AbsolutePath.h"
#include "DllSearchOrder.h"
#include "RaisedError.h"
#include "RegistrationReport.h"
#include "SystemErrorText.h"
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

UniqueModule LoadComponent(const std::wstring& path) {
  // A path that is not absolute would be looked for relative to the current
  // drive and folder, where anyone may have put a file of that name: it is
  // never loaded, and reported as the missing file it stands for.
  if (!IsAbsolutePath(path)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return UniqueModule();
  }
  // Loaded with its imports bound and its initialisation run: an entry of a
  // file loaded without them crashes when called.
  return LoadComponentLibrary(path);
}

RegistrationOutcome RegisterInThisProcess(const std::wstring& path, const std::string& entryName) {
  RegistrationOutcome outcome;
  const UniqueModule library = LoadComponent(path);
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

std::wstring GetSystemErrorText(DWORD code, const std::wstring& fileName) {
  return SystemErrorText(code, fileName);
}
