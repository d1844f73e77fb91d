#include "cRegistry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "ExecutableName.h"
#include "RaisedError.h"
#include "UniqueHandle.h"
#include "VariantText.h"

HKEY RootKeyHandle(std::int32_t eKey) {
  // Widened with its sign, as the platform's headers define the predefined
  // keys: HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 in a 64-bit process.
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(eKey));
}

namespace {

constexpr std::int32_t kWriteFailure = 26001;
constexpr std::int32_t kSetFailure = static_cast<std::int32_t>(0x800469A9u);
constexpr std::int32_t kEnumerateFailure = static_cast<std::int32_t>(0x800469AAu);
// Query, set, create subkey, enumerate, notify, create link.
constexpr REGSAM kWriteAccess = 0x3F;

UniqueHKEY OpenKey(std::int32_t classKey, const std::wstring& path, REGSAM access,
                   LONG* status = nullptr) {
  UniqueHKEY key;
  const LONG result =
      classKey == 0 ? ERROR_INVALID_HANDLE
                    : RegOpenKeyExW(RootKeyHandle(classKey), path.c_str(), 0, access, key.put());
  if (status) *status = result;
  if (result != ERROR_SUCCESS) key.release();
  return key;
}

UniqueHKEY CreateOrOpenKey(std::int32_t classKey, const std::wstring& path, LONG& status) {
  UniqueHKEY key;
  if (classKey == 0) {
    status = ERROR_INVALID_HANDLE;
    return key;
  }
  SECURITY_ATTRIBUTES security{};  // length, descriptor and inherit flag all zero
  DWORD disposition = 0;
  wchar_t noClass[] = L"";
  status =
      RegCreateKeyExW(RootKeyHandle(classKey), path.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                      kWriteAccess, &security, key.put(), &disposition);
  if (status != ERROR_SUCCESS) key.release();
  return key;
}

std::int32_t ByteSwapLong(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>((u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) |
                                   (u << 24));
}

std::wstring ExpandEnvironmentText(const std::wstring& text) {
  // The expansion can grow between the two calls (another thread changing the
  // environment): ask again until it fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::vector<wchar_t> buffer(needed);
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), needed);
    if (written == 0) return text;
    if (written <= needed) return std::wstring(buffer.data(), written - 1);
  }
  return text;
}

// The text of a value read from the registry: the stored UTF-16 characters
// less one trailing NUL. A value stored without its terminator keeps its last
// character; a value without bytes is the empty text.
std::wstring StoredText(const std::vector<BYTE>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

// The text of a value in an error description. Lists and bytes have no
// ordinary text form; they are shown so that the message still says what it was.
std::wstring DescribeValue(const Variant& value) {
  if (value.kind() == Variant::Kind::Bytes) {
    std::wstring text;
    wchar_t hex[4];
    for (BYTE b : value.bytes()) {
      swprintf(hex, 4, L"%02X", b);
      if (!text.empty()) text += L' ';
      text += hex;
    }
    return text;
  }
  if (value.kind() == Variant::Kind::List)
    return L"(list of " + std::to_wstring(value.list().size()) + L")";
  return ToText(value);
}

bool IsExpandable(const std::wstring& text) {
  const std::size_t first = text.find(L'%');
  return first != std::wstring::npos && text.find(L'%', first + 2) != std::wstring::npos;
}

}  // namespace

void cRegistry::Raise(std::int32_t number, std::wstring description) const {
  throw RaisedError{number, ExecutableBaseName() + L".cRegistry", std::move(description)};
}

std::wstring cRegistry::Location() const {
  return L"Key: '" + std::to_wstring(classKey_) + L"',Section: '" + sectionKey_ + L"',Key: '" +
         valueKey_;
}

bool cRegistry::KeyExists() const {
  return static_cast<bool>(OpenKey(classKey_, sectionKey_, KEY_QUERY_VALUE));
}

bool cRegistry::CreateKey() {
  LONG status = 0;
  if (!CreateOrOpenKey(classKey_, sectionKey_, status))
    Raise(kWriteFailure, L"Failed to create registry Key: '" + sectionKey_);
  return true;
}

bool cRegistry::DeleteKey() {
  const LONG status = classKey_ == 0 ? ERROR_INVALID_HANDLE
                                     : RegDeleteKeyW(RootKeyHandle(classKey_), sectionKey_.c_str());
  if (status != ERROR_SUCCESS)
    Raise(kWriteFailure, L"Failed to delete registry Key: '" + std::to_wstring(classKey_) +
                             L"',Section: '" + sectionKey_);
  return true;
}

bool cRegistry::DeleteValue() {
  const UniqueHKEY key = OpenKey(classKey_, sectionKey_, kWriteAccess);
  if (!key)
    Raise(kWriteFailure, L"Failed to open key '" + std::to_wstring(classKey_) + L"',Section: '" +
                             sectionKey_ + L"' for delete access");
  if (RegDeleteValueW(key.get(), valueKey_.c_str()) != ERROR_SUCCESS)
    Raise(kWriteFailure, L"Failed to delete registry " + Location());
  return true;
}

Variant cRegistry::Value() {
  const UniqueHKEY key = OpenKey(classKey_, sectionKey_, KEY_QUERY_VALUE);
  if (!key) return default_;

  // The value can grow or vanish between the size query and the read: read
  // until the two agree, and never hand out bytes that were not read.
  DWORD type = 0;
  std::vector<BYTE> data;
  LONG status = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 8 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD size = 0;
    status = RegQueryValueExW(key.get(), valueKey_.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return default_;
    data.assign(size, 0);
    status = RegQueryValueExW(key.get(), valueKey_.c_str(), nullptr, &type,
                              size ? data.data() : nullptr, &size);
    if (status == ERROR_SUCCESS) data.resize(std::min<std::size_t>(size, data.size()));
  }
  if (status != ERROR_SUCCESS) return default_;

  valueType_ = static_cast<std::int32_t>(type);
  switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ:
      return StoredText(data);
    case REG_EXPAND_SZ:
      return ExpandEnvironmentText(StoredText(data));
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
      std::uint32_t number = 0;
      std::memcpy(&number, data.data(), std::min<std::size_t>(data.size(), sizeof number));
      const auto value = static_cast<std::int32_t>(number);
      return type == REG_DWORD ? value : ByteSwapLong(value);
    }
    default:
      return Variant::Bytes(data.begin(), data.end());
  }
}

void cRegistry::Value(const Variant& vValue) {
  LONG status = 0;
  const UniqueHKEY key = CreateOrOpenKey(classKey_, sectionKey_, status);
  const std::wstring failure = L"Failed to set registry value " + Location() + L"' to value: '" +
                               DescribeValue(vValue) + L"'";
  if (!key) Raise(kWriteFailure, failure);

  switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const std::wstring text = ToText(vValue);
      status = RegSetValueExW(key.get(), valueKey_.c_str(), 0,
                              IsExpandable(text) ? REG_EXPAND_SZ : REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
      break;
    }
    case REG_BINARY:
      if (vValue.kind() != Variant::Kind::Bytes) throw RaisedError{kWriteFailure, L"", L""};
      status = RegSetValueExW(key.get(), valueKey_.c_str(), 0, REG_BINARY, vValue.bytes().data(),
                              static_cast<DWORD>(vValue.bytes().size()));
      break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
      // Only integers are written; any other kind is left out without a word.
      if (vValue.kind() == Variant::Kind::Int16 || vValue.kind() == Variant::Kind::Int32) {
        const DWORD number = static_cast<DWORD>(static_cast<std::int32_t>(vValue.AsNumber()));
        status = RegSetValueExW(key.get(), valueKey_.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof number);
      }
      break;
    default:
      status = ERROR_INVALID_DATA;
  }
  if (status != ERROR_SUCCESS) Raise(kSetFailure, failure);
}

bool cRegistry::EnumerateValues(OneBasedList& sKeyNames, std::int32_t& iKeyCount) const {
  iKeyCount = 0;
  sKeyNames.Clear();
  const UniqueHKEY key = OpenKey(classKey_, sectionKey_, KEY_QUERY_VALUE);
  if (!key) return true;
  // The longest name the platform allows, whatever the key reports about
  // itself: a name added meanwhile must not end the list early.
  constexpr DWORD kValueNameChars = 16383 + 1;
  std::vector<wchar_t> name(kValueNameChars);
  for (DWORD index = 0;; ++index) {
    DWORD length = kValueNameChars;
    if (RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    sKeyNames.Add(std::wstring(name.data(), length));
    ++iKeyCount;
  }
  return true;
}

bool cRegistry::EnumerateSections(OneBasedList& sSect, std::int32_t& iSectCount) const {
  iSectCount = 0;
  sSect.Clear();
  const UniqueHKEY key = OpenKey(classKey_, sectionKey_, KEY_ENUMERATE_SUB_KEYS);
  if (!key) return true;
  try {
    // 255 characters is the longest key name; one more for the terminator.
    constexpr DWORD kNameChars = 255 + 1;
    wchar_t name[kNameChars];
    for (DWORD index = 0;; ++index) {
      std::fill(std::begin(name), std::end(name), L'\0');
      if (RegEnumKeyW(key.get(), index, name, kNameChars) != ERROR_SUCCESS) break;
      sSect.Add(std::wstring(name, std::find(std::begin(name), std::end(name), L'\0')));
      ++iSectCount;
    }
  } catch (const std::exception& e) {
    const std::string what = e.what();
    Raise(kEnumerateFailure, std::wstring(what.begin(), what.end()));
  }
  return true;
}
