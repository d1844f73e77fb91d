#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Variant.h"

// The predefined root keys, as the values `ClassKey` takes.
enum class RegistryRootKey : std::int32_t {
  ClassesRoot = static_cast<std::int32_t>(0x80000000u),
  CurrentUser = static_cast<std::int32_t>(0x80000001u),
  LocalMachine = static_cast<std::int32_t>(0x80000002u),
  Users = static_cast<std::int32_t>(0x80000003u),
  CurrentConfig = static_cast<std::int32_t>(0x80000005u),
};

// The platform's handle of a root key code (a RegistryRootKey value).
HKEY RootKeyHandle(std::int32_t eKey);

// The platform's value type codes, as the values `ValueType` takes.
enum class RegistryValueType : std::int32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  DwordBigEndian = 5,
  Link = 6,
  MultiSz = 7,
};

// A list whose first element is number 1, as the enumerations hand them out.
class OneBasedList {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  // Element k, 1 <= k <= Count().
  const std::wstring& operator[](std::int32_t k) const {
    return items_.at(static_cast<std::size_t>(k - 1));
  }
  void Clear() { items_.clear(); }
  void Add(std::wstring item) { items_.push_back(std::move(item)); }

 private:
  std::vector<std::wstring> items_;
};

// One registry location, set through the properties, and the operations on it.
// Each operation opens the key it needs and closes it before it returns.
// A process sees the registry view of its own word size: the 32-bit program
// the 32-bit view, which is the view the 32-bit components register in.
// Errors are raised as RaisedError with the source "<executable>.cRegistry".
class cRegistry {
 public:
  // ---- location -------------------------------------------------------------
  std::int32_t ClassKey() const { return classKey_; }
  void ClassKey(std::int32_t eKey) { classKey_ = eKey; }
  void ClassKey(RegistryRootKey eKey) { classKey_ = static_cast<std::int32_t>(eKey); }
  const std::wstring& SectionKey() const { return sectionKey_; }
  void SectionKey(std::wstring sSectionKey) { sectionKey_ = std::move(sSectionKey); }
  const std::wstring& ValueKey() const { return valueKey_; }
  void ValueKey(std::wstring sValueKey) { valueKey_ = std::move(sValueKey); }
  // What reading Value returns when nothing can be read.
  Variant Default() const { return default_; }
  void Default(Variant vDefault) { default_ = std::move(vDefault); }
  // The encoding of a write; after a successful read, the stored type.
  std::int32_t ValueType() const { return valueType_; }
  void ValueType(std::int32_t eValueType) { valueType_ = eValueType; }
  void ValueType(RegistryValueType eValueType) {
    valueType_ = static_cast<std::int32_t>(eValueType);
  }

  // ---- keys and values --------------------------------------------------------
  // True when the key can be opened for reading. Never raises.
  bool KeyExists() const;
  // Opens or creates the key with every missing key above it. Raises 26001.
  bool CreateKey();
  // Deletes the key; the platform refuses a missing key or one with subkeys.
  // Raises 26001.
  bool DeleteKey();
  // Raises 26001 when the key cannot be opened or the value not deleted.
  bool DeleteValue();

  // Reads the value: text for REG_SZ and REG_MULTI_SZ (the strings separated by
  // NULs, one trailing NUL kept), expanded text for REG_EXPAND_SZ, a 32-bit
  // integer for both DWORD types, a byte list for every other type. Returns
  // Default when the key or value is missing; never raises.
  Variant Value();
  // Writes the value in the encoding ValueType chooses: 1 and 2 text (stored as
  // REG_EXPAND_SZ when two "%" enclose at least one character), 3 a byte list,
  // 4 and 5 a 16- or 32-bit integer as REG_DWORD (other kinds are silently not
  // written). Raises 26001 when the key cannot be created or a byte list is
  // expected, 0x800469A9 when the write fails or ValueType is another code.
  void Value(const Variant& vValue);

  // The value names / subkey names of the key in the platform's order; a missing
  // key gives an empty list. Always true.
  bool EnumerateValues(OneBasedList& sKeyNames, std::int32_t& iKeyCount) const;
  bool EnumerateSections(OneBasedList& sSect, std::int32_t& iSectCount) const;

  // ---- file types ---------------------------------------------------------------
  // Registers extension sAssociation as file type sClassName for the program
  // sExePath with its verbs and icon, under HKEY_CLASSES_ROOT and
  // HKEY_LOCAL_MACHINE\SOFTWARE\Classes. The first failing write raises.
  void CreateEXEAssociation(std::wstring sExePath, std::wstring sClassName,
                            std::wstring sClassDescription, std::wstring sAssociation,
                            std::wstring sOpenMenuText, std::wstring sPrintMenuText,
                            std::wstring sNewMenuText, std::wstring sInstallMenuText,
                            bool bSupportPrint, bool bSupportNew, bool bSupportInstall,
                            std::int32_t lDefaultIconIndex);
  // Adds verbs to an existing file type: vItems is a list of name, menu text,
  // command line triples. Raises 0x800469AC for a bad list and 0x800469AD when
  // the class key does not exist under ClassKey; failing writes are skipped.
  void CreateAdditionalEXEAssociations(const std::wstring& sClassName, const Variant& vItems);

 private:
  void WriteClassesValue(const std::wstring& sValue);
  [[noreturn]] void Raise(std::int32_t number, std::wstring description) const;
  std::wstring Location() const;

  std::int32_t classKey_ = 0;
  std::wstring sectionKey_;
  std::wstring valueKey_;
  Variant default_;
  std::int32_t valueType_ = 0;
};
