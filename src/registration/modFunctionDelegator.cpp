#include "modFunctionDelegator.h"

#include <new>

#include "LateImports.h"
#include "RaisedError.h"

const IID IID_IDelegatedCall = {
    0x8F633501, 0x459A, 0x11D3, {0xAB, 0x5C, 0xD4, 0x12, 0x03, 0xC1, 0x00, 0x00}};

namespace {

using Routine = HRESULT(WINAPI*)();

// The object's layout: method table, function address, reference count.
// Both method tables share AddRef, Release and Call and differ in
// QueryInterface: the first answers once, the second never.
class Delegator final : public IDelegatedCall {
 public:
  explicit Delegator(FARPROC address) : address_(address) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** answer) override {
    if (!answer) return E_POINTER;
    if (answered_) {
      *answer = nullptr;
      return E_NOINTERFACE;
    }
    answered_ = true;
    *answer = static_cast<IDelegatedCall*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --count_;
    if (left == 0) {
      this->~Delegator();
      Ole32::CoTaskMemFree(this);
    }
    return left;
  }
  // Called as what it is, a routine with a 32-bit result: FARPROC's result is
  // pointer-sized on 64-bit Windows, and the upper half of that register is
  // whatever the routine left there. The cast goes by way of the generic
  // function type, the one the compiler accepts between unrelated ones.
  HRESULT STDMETHODCALLTYPE Call() override {
    return reinterpret_cast<Routine>(reinterpret_cast<void (*)()>(address_))();
  }

 private:
  FARPROC address_;
  ULONG count_ = 1;
  bool answered_ = false;
};

}  // namespace

IUnknown* CreateDelegator(FARPROC address) {
  void* block = Ole32::CoTaskMemAlloc(sizeof(Delegator));
  if (!block) throw RaisedError{7, L"modFunctionDelegator", L"Out of memory"};
  return new (block) Delegator(address);
}
