#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Reading a registry that may hold anything: each read is bounded and checks
// what it gets before using it.

// A text value as stored, and whether it asks for its variables to be
// expanded (REG_EXPAND_SZ).
struct RegistryText {
  std::wstring text;
  bool expand = false;
};

// The text value `name` (null or empty: the key's default value) of an open
// key. Only REG_SZ and REG_EXPAND_SZ are texts; a value of any other type, a
// value longer than `mostCharacters`, and a missing one give none. A stored
// text need not end in a terminator, and it ends at its first NUL. A value
// that grows while it is read is read again.
std::optional<RegistryText> ReadRegistryText(HKEY key, const wchar_t* name,
                                             std::size_t mostCharacters);

// The names of an open key's values, and of its subkeys, in the registry's
// order: at most `most` of them, so that a key stuffed with names cannot hold
// the program up. A name that cannot be read is passed over.
std::vector<std::wstring> RegistryValueNames(HKEY key, std::size_t most);
std::vector<std::wstring> RegistrySubkeyNames(HKEY key, std::size_t most);
