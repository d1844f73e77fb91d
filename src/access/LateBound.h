#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AccessTestResult.h"

// A VARIANT that is cleared on every way out.
class ComVariant {
 public:
  ComVariant() = default;
  explicit ComVariant(const std::wstring& text);
  explicit ComVariant(IDispatch* object);  // takes a reference of its own
  explicit ComVariant(long number);
  ~ComVariant();
  ComVariant(const ComVariant&) = delete;
  ComVariant& operator=(const ComVariant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }
  // The object it holds, or null when it holds none.
  IDispatch* Object() const;

 private:
  // Empty, as VariantInit makes it: all zeros are VT_EMPTY.
  VARIANT value_{};
};

// What went wrong in a call: the result code and the component's own text,
// and where the call went through a connection, the errors it reported.
struct CallFailure {
  HRESULT hresult = S_OK;
  std::wstring message;
  std::vector<AccessError> errors;
};

// The result code of an exception that gives only EXCEPINFO's wCode, by the
// platform's convention: FACILITY_ITF from 0x200 on, held below the end of
// that facility (the dispatch facility's codes would read as DISP_E_*:
// wCode 3 as "Member not found").
HRESULT FromExceptionWCode(WORD wCode);

// One automation object, called by name through IDispatch only: the
// components' type libraries are among what a broken machine lacks.
class LateBound {
 public:
  LateBound() = default;
  explicit LateBound(IDispatch* object) : object_(object) {}  // takes the reference
  ~LateBound() { Reset(); }
  LateBound(LateBound&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  LateBound& operator=(LateBound&& other) noexcept;
  LateBound(const LateBound&) = delete;
  LateBound& operator=(const LateBound&) = delete;

  // Creates an object of a ProgID in this process.
  static HRESULT Create(const wchar_t* progId, LateBound& created);
  // The object a result holds, with a reference of its own.
  static LateBound From(const ComVariant& value);

  explicit operator bool() const { return object_ != nullptr; }
  IDispatch* get() const { return object_; }
  void Reset();

  // Calls `name` with the arguments in their natural order. `flags`:
  // DISPATCH_METHOD or DISPATCH_PROPERTYGET. On failure, `failure` gets the
  // code and the description of the exception, if the component gave one.
  bool Call(const wchar_t* name, WORD flags, std::vector<VARIANT*> arguments, ComVariant* result,
            CallFailure& failure) const;

 private:
  IDispatch* object_ = nullptr;
};
