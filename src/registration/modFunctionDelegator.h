#pragma once

#include <windows.h>
// IUnknown; windows.h leaves it out under WIN32_LEAN_AND_MEAN.
#include <unknwn.h>

// A small reference-counted COM object around a raw function address: its
// Call method calls the routine at the address and hands back the routine's
// 32-bit result unchanged, so that a result can be read like any method's
// status code. The first interface request made of an object succeeds with
// the object itself; every later one is refused with E_NOINTERFACE.
struct IDelegatedCall : IUnknown {
  // Calls the held routine, which takes no arguments and follows the standard
  // (callee-cleans) calling convention; returns its result as it is.
  virtual HRESULT STDMETHODCALLTYPE Call() = 0;
};

// {8F633501-459A-11D3-AB5C-D41203C10000}
extern const IID IID_IDelegatedCall;

// A new call object with one reference, owned by the caller. Raises
// RaisedError 7 ("Out of memory") when the COM task allocator has nothing.
IUnknown* CreateDelegator(FARPROC address);
