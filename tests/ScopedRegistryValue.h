#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

// One registry value changed for the lifetime of this object: on the way out
// it gets back the type and bytes it had, or is removed again if there was
// none. The key is created when missing (and left in place).
class ScopedRegistryValue {
 public:
  ScopedRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name)
      : name_(name) {
    RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                    key_.put(), nullptr);
    DWORD size = 0;
    had_ = RegQueryValueExW(key_.get(), name_.c_str(), nullptr, &type_, nullptr, &size) ==
           ERROR_SUCCESS;
    saved_.resize(size);
    if (had_ && size)
      had_ = RegQueryValueExW(key_.get(), name_.c_str(), nullptr, &type_, saved_.data(), &size) ==
             ERROR_SUCCESS;
  }
  ~ScopedRegistryValue() {
    if (had_)
      RegSetValueExW(key_.get(), name_.c_str(), 0, type_, saved_.data(),
                     static_cast<DWORD>(saved_.size()));
    else
      RegDeleteValueW(key_.get(), name_.c_str());
  }
  ScopedRegistryValue(const ScopedRegistryValue&) = delete;
  ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

  bool Opened() const { return key_.get() != nullptr; }

  void SetText(const std::wstring& text) {
    RegSetValueExW(key_.get(), name_.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void SetNumber(DWORD number) {
    RegSetValueExW(key_.get(), name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  }
  void Remove() { RegDeleteValueW(key_.get(), name_.c_str()); }

 private:
  UniqueHKEY key_;
  std::wstring name_;
  bool had_ = false;
  DWORD type_ = REG_NONE;
  std::vector<BYTE> saved_;
};
