#include "LateBound.h"

#include <algorithm>

#include "LateImports.h"
#include "SystemMessage.h"

namespace {

// A description longer than this is cut: it comes from a component.
constexpr UINT kMaxDescription = 1024;

std::wstring Text(BSTR text) {
  if (!text) return {};
  return std::wstring(text, std::min(OleAut32::SysStringLen(text), kMaxDescription));
}

}  // namespace

HRESULT FromExceptionWCode(WORD wCode) {
  return wCode >= 0xFE00 ? static_cast<HRESULT>(0x8004FFFF)
                         : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200 + wCode);
}

ComVariant::ComVariant(const std::wstring& text) {
  value_.vt = VT_BSTR;
  value_.bstrVal = OleAut32::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!value_.bstrVal) value_.vt = VT_EMPTY;
}

ComVariant::ComVariant(IDispatch* object) {
  value_.vt = VT_DISPATCH;
  value_.pdispVal = object;
  if (object) object->AddRef();
}

ComVariant::ComVariant(long number) {
  value_.vt = VT_I4;
  value_.lVal = number;
}

ComVariant::~ComVariant() { OleAut32::VariantClear(&value_); }

IDispatch* ComVariant::Object() const {
  if (value_.vt == VT_DISPATCH) return value_.pdispVal;
  if (value_.vt == (VT_DISPATCH | VT_BYREF) && value_.ppdispVal) return *value_.ppdispVal;
  return nullptr;
}

LateBound& LateBound::operator=(LateBound&& other) noexcept {
  if (this != &other) {
    Reset();
    object_ = other.object_;
    other.object_ = nullptr;
  }
  return *this;
}

void LateBound::Reset() {
  if (object_) object_->Release();
  object_ = nullptr;
}

HRESULT LateBound::Create(const wchar_t* progId, LateBound& created) {
  created.Reset();
  CLSID clsid{};
  HRESULT hr = Ole32::CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  IDispatch* object = nullptr;
  hr = Ole32::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object));
  if (SUCCEEDED(hr) && !object) hr = E_NOINTERFACE;
  if (SUCCEEDED(hr)) created.object_ = object;
  return hr;
}

LateBound LateBound::From(const ComVariant& value) {
  IDispatch* object = value.Object();
  if (object) object->AddRef();
  return LateBound(object);
}

bool LateBound::Call(const wchar_t* name, WORD flags, std::vector<VARIANT*> arguments,
                     ComVariant* result, CallFailure& failure) const {
  failure = {};
  if (!object_) {
    failure.hresult = E_POINTER;
    failure.message = SystemMessage(E_POINTER);
    return false;
  }
  DISPID id = DISPID_UNKNOWN;
  auto* member = const_cast<LPOLESTR>(name);
  HRESULT hr = object_->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) {
    failure.hresult = hr;
    failure.message = SystemMessage(hr);
    return false;
  }
  // IDispatch takes its arguments last first.
  std::vector<VARIANTARG> reversed;
  for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(**it);
  DISPPARAMS parameters{reversed.empty() ? nullptr : reversed.data(), nullptr,
                        static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO exception{};
  UINT badArgument = 0;
  hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                       result ? result->get() : nullptr, &exception, &badArgument);
  if (hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    failure.hresult = exception.scode
                          ? exception.scode
                          : (exception.wCode ? FromExceptionWCode(exception.wCode) : hr);
    failure.message = Text(exception.bstrDescription);
  } else if (FAILED(hr)) {
    failure.hresult = hr;
  }
  OleAut32::SysFreeString(exception.bstrSource);
  OleAut32::SysFreeString(exception.bstrDescription);
  OleAut32::SysFreeString(exception.bstrHelpFile);
  if (SUCCEEDED(hr)) return true;
  if (failure.message.empty()) failure.message = SystemMessage(failure.hresult);
  return false;
}
