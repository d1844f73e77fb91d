#include "RegistryText.h"

#include <cwchar>

namespace {

// The platform's own limit on the length of a key's or a value's name.
constexpr DWORD kMostNameCharacters = 16383;

}  // namespace

std::optional<RegistryText> ReadRegistryText(HKEY key, const wchar_t* name,
                                             std::size_t mostCharacters) {
  const std::size_t mostBytes = mostCharacters * sizeof(wchar_t);
  // The size asked for first may be out of date by the time the value is
  // read: a few tries, then it counts as unreadable.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // Room for a terminator the stored text may lack.
    if (size > mostBytes + sizeof(wchar_t)) return std::nullopt;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    const LSTATUS status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || read > size || (type != REG_SZ && type != REG_EXPAND_SZ))
      return std::nullopt;
    data.resize(wcsnlen(data.c_str(), read / sizeof(wchar_t)));
    if (data.size() > mostCharacters) return std::nullopt;
    return RegistryText{std::move(data), type == REG_EXPAND_SZ};
  }
  return std::nullopt;
}

namespace {

template <typename Enumerate>
std::vector<std::wstring> Names(std::size_t most, Enumerate enumerate) {
  std::vector<std::wstring> names;
  std::wstring name(kMostNameCharacters + 1, L'\0');
  for (DWORD index = 0; names.size() < most; ++index) {
    DWORD length = kMostNameCharacters + 1;
    const LSTATUS status = enumerate(index, name.data(), &length);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) {
      // One that cannot be read is passed over; a key that answers nothing
      // but failures is not asked for ever.
      if (index >= most) break;
      continue;
    }
    names.emplace_back(name.data(), std::min<DWORD>(length, kMostNameCharacters));
  }
  return names;
}

}  // namespace

std::vector<std::wstring> RegistryValueNames(HKEY key, std::size_t most) {
  return Names(most, [key](DWORD index, wchar_t* name, DWORD* length) {
    return RegEnumValueW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> RegistrySubkeyNames(HKEY key, std::size_t most) {
  return Names(most, [key](DWORD index, wchar_t* name, DWORD* length) {
    return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}
