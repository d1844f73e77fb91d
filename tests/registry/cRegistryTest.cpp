#include "cRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "RaisedError.h"
#include "UniqueHandle.h"

namespace {

constexpr std::int32_t kSetFailure = -2147194455;
const std::wstring kSource = L"registry_tests.cRegistry";

struct Root {
  RegistryRootKey key;
  HKEY hkey;
  const wchar_t* scratch;
};
const Root kRoots[] = {
    {RegistryRootKey::CurrentUser, HKEY_CURRENT_USER, L"Software\\MdacRepairTests\\Scratch"},
    {RegistryRootKey::LocalMachine, HKEY_LOCAL_MACHINE, L"Software\\MdacRepairTests\\Scratch"},
    {RegistryRootKey::ClassesRoot, HKEY_CLASSES_ROOT, L"MdacRepairTests.Scratch"},
};

// Each case starts on a scratch key that does not exist, under each root.
class ScratchKey : public ::testing::TestWithParam<Root> {
 protected:
  void SetUp() override { RegDeleteTreeW(root().hkey, root().scratch); }
  void TearDown() override { RegDeleteTreeW(root().hkey, root().scratch); }

  const Root& root() const { return GetParam(); }
  cRegistry At(const std::wstring& sub = L"", const std::wstring& name = L"") const {
    cRegistry reg;
    reg.ClassKey(root().key);
    reg.SectionKey(sub.empty() ? root().scratch : std::wstring(root().scratch) + L"\\" + sub);
    reg.ValueKey(name);
    return reg;
  }
  // Stores raw bytes with a type, past the class, as another program would.
  void Store(const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    UniqueHKEY key;
    ASSERT_EQ(RegCreateKeyExW(root().hkey, root().scratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  // Reads raw bytes and type past the class; false when the value is missing.
  bool Stored(const wchar_t* name, DWORD& type, std::vector<BYTE>& data) const {
    UniqueHKEY key;
    if (RegOpenKeyExW(root().hkey, root().scratch, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
      return false;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    data.resize(size);
    return RegQueryValueExW(key.get(), name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
  }
};

RaisedError Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const RaisedError& e) {
    return e;
  }
  ADD_FAILURE() << "nothing raised";
  return {};
}

TEST(cRegistry, RootCodesAreThePlatformsHandles) {
  EXPECT_EQ(RootKeyHandle(static_cast<std::int32_t>(RegistryRootKey::ClassesRoot)),
            HKEY_CLASSES_ROOT);
  EXPECT_EQ(RootKeyHandle(static_cast<std::int32_t>(RegistryRootKey::CurrentUser)),
            HKEY_CURRENT_USER);
  EXPECT_EQ(RootKeyHandle(static_cast<std::int32_t>(RegistryRootKey::LocalMachine)),
            HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RootKeyHandle(static_cast<std::int32_t>(RegistryRootKey::Users)), HKEY_USERS);
  EXPECT_EQ(RootKeyHandle(static_cast<std::int32_t>(RegistryRootKey::CurrentConfig)),
            HKEY_CURRENT_CONFIG);
}

TEST(cRegistry, WithoutARootNothingExistsAndReadsGiveTheDefault) {
  cRegistry reg;
  EXPECT_EQ(reg.ClassKey(), 0);
  EXPECT_FALSE(reg.KeyExists());
  reg.Default(L"fallback");
  reg.ValueType(RegistryValueType::Dword);
  EXPECT_EQ(reg.Value(), Variant(L"fallback"));
  EXPECT_EQ(reg.ValueType(), 4);
  const RaisedError e = Raised([&] { reg.Value(Variant(std::int32_t{1})); });
  EXPECT_EQ(e.number, 26001);
  EXPECT_EQ(e.source, kSource);
  EXPECT_EQ(e.description,
            L"Failed to set registry value Key: '0',Section: '',Key: '' to value: '1'");
}

TEST_P(ScratchKey, ReadsEachStoredType) {
  cRegistry reg = At(L"", L"v");
  reg.Default(L"none");
  reg.ValueType(RegistryValueType::Binary);
  // Missing key, then missing value: the default, and the type is kept.
  EXPECT_EQ(reg.Value(), Variant(L"none"));
  Store(L"other", REG_SZ, L"x", 4);
  EXPECT_EQ(reg.Value(), Variant(L"none"));
  EXPECT_EQ(reg.ValueType(), 3);

  struct Case {
    DWORD type;
    std::vector<BYTE> bytes;
    Variant expected;
  };
  auto utf16 = [](const std::wstring& s, bool terminator) {
    std::vector<BYTE> b(reinterpret_cast<const BYTE*>(s.c_str()),
                        reinterpret_cast<const BYTE*>(s.c_str() + s.size() + (terminator ? 1 : 0)));
    return b;
  };
  SetEnvironmentVariableW(L"MDAC_TEST_VAR", L"xyz");
  const Case cases[] = {
      {REG_SZ, utf16(L"abc", true), L"abc"},
      {REG_SZ, utf16(L"abc", false), L"abc"},  // stored without terminator: nothing lost
      {REG_SZ, {}, L""},                       // stored without any byte
      {REG_SZ, utf16(L"Gr\u00FC\u00DFe \u65E5\u672C \u0394", true),
       L"Gr\u00FC\u00DFe \u65E5\u672C \u0394"},
      {REG_MULTI_SZ, utf16(std::wstring(L"a\0b\0", 4), true), std::wstring(L"a\0b\0", 4)},
      {REG_EXPAND_SZ, utf16(L"a%MDAC_TEST_VAR%b", true), L"axyzb"},
      {REG_DWORD, {0x01, 0x00, 0x00, 0x80}, std::int32_t{-2147483647}},
      {REG_DWORD_BIG_ENDIAN, {0x00, 0x00, 0x01, 0x00}, std::int32_t{256}},
      {REG_BINARY, {1, 2, 3}, Variant::Bytes{1, 2, 3}},
      {REG_NONE, {9}, Variant::Bytes{9}},
      {REG_LINK, {}, Variant::Bytes{}},
      {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, Variant::Bytes{1, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Store(L"v", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
    EXPECT_EQ(reg.Value(), c.expected) << "type " << c.type << ", " << c.bytes.size() << " bytes";
    EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.type));
  }
}

TEST_P(ScratchKey, WritesInTheEncodingOfValueType) {
  cRegistry reg = At(L"", L"v");
  DWORD type = 0;
  std::vector<BYTE> data;

  // Text: REG_EXPAND_SZ only when two "%" enclose at least one character.
  struct TextCase {
    const wchar_t* text;
    RegistryValueType asked;
    DWORD stored;
  };
  const TextCase texts[] = {{L"a%b%", RegistryValueType::Sz, REG_EXPAND_SZ},
                            {L"100%", RegistryValueType::ExpandSz, REG_SZ},
                            {L"%%", RegistryValueType::ExpandSz, REG_SZ},
                            {L"%%a%", RegistryValueType::Sz, REG_EXPAND_SZ},
                            {L"plain", RegistryValueType::Sz, REG_SZ}};
  for (const TextCase& t : texts) {
    reg.ValueType(t.asked);
    reg.Value(t.text);
    ASSERT_TRUE(Stored(L"v", type, data));
    EXPECT_EQ(type, t.stored) << t.text;
    const std::size_t chars = wcslen(t.text) + 1;
    EXPECT_EQ(data.size(), chars * sizeof(wchar_t)) << "with its terminator: " << t.text;
  }
  // Non-text values are written in their text form.
  reg.ValueType(RegistryValueType::Sz);
  reg.Value(std::int32_t{42});
  EXPECT_EQ(reg.Value(), Variant(L"42"));

  // Integers, little-endian as REG_DWORD, also for the big-endian code.
  reg.ValueType(RegistryValueType::DwordBigEndian);
  reg.Value(std::int32_t{5});
  ASSERT_TRUE(Stored(L"v", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, (std::vector<BYTE>{5, 0, 0, 0}));
  reg.ValueType(RegistryValueType::Dword);
  reg.Value(std::int16_t{-1});
  ASSERT_TRUE(Stored(L"v", type, data));
  EXPECT_EQ(data, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
  // Other kinds are silently not written.
  reg.Value(7.0);
  reg.Value(L"7");
  ASSERT_TRUE(Stored(L"v", type, data));
  EXPECT_EQ(data, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));

  // Bytes, exactly as given; anything else raises 26001 with no text of its own.
  reg.ValueType(RegistryValueType::Binary);
  reg.Value(Variant::Bytes{7, 8, 9});
  ASSERT_TRUE(Stored(L"v", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, (std::vector<BYTE>{7, 8, 9}));
  RaisedError e = Raised([&] { reg.Value(L"not bytes"); });
  EXPECT_EQ(e.number, 26001);
  EXPECT_EQ(e.source, L"");
  EXPECT_EQ(e.description, L"");

  // Codes that are never written raise the set failure and store nothing.
  for (RegistryValueType code :
       {RegistryValueType::None, RegistryValueType::Link, RegistryValueType::MultiSz}) {
    cRegistry other = At(L"", L"w");
    other.ValueType(code);
    e = Raised([&] { other.Value(Variant::Bytes{1}); });
    EXPECT_EQ(e.number, kSetFailure);
    EXPECT_EQ(e.source, kSource);
    EXPECT_EQ(e.description, L"Failed to set registry value Key: '" +
                                 std::to_wstring(static_cast<std::int32_t>(root().key)) +
                                 L"',Section: '" + root().scratch + L"',Key: 'w' to value: '01'");
    EXPECT_FALSE(Stored(L"w", type, data));
  }
}

TEST_P(ScratchKey, AValueThatChangesType) {
  cRegistry reg = At(L"", L"v");
  reg.ValueType(RegistryValueType::Sz);
  reg.Value(L"text");
  reg.ValueType(RegistryValueType::Dword);
  reg.Value(std::int32_t{3});
  reg.ValueType(RegistryValueType::Sz);
  EXPECT_EQ(reg.Value(), Variant(std::int32_t{3}));
  EXPECT_EQ(reg.ValueType(), 4);
}

TEST_P(ScratchKey, KeysAreCreatedTestedAndDeleted) {
  cRegistry deep = At(L"a\\b\\c");
  EXPECT_FALSE(deep.KeyExists());
  EXPECT_TRUE(deep.CreateKey());  // with every key above it
  EXPECT_TRUE(deep.KeyExists());
  EXPECT_TRUE(deep.CreateKey());  // an existing key is opened

  cRegistry parent = At(L"a\\b");
  const RaisedError withChildren = Raised([&] { parent.DeleteKey(); });
  EXPECT_EQ(withChildren.number, 26001);
  EXPECT_TRUE(parent.KeyExists());
  EXPECT_TRUE(deep.DeleteKey());
  EXPECT_FALSE(deep.KeyExists());

  const std::wstring root = std::to_wstring(static_cast<std::int32_t>(GetParam().key));
  const RaisedError missing = Raised([&] { deep.DeleteKey(); });
  EXPECT_EQ(missing.number, 26001);
  EXPECT_EQ(missing.source, kSource);
  EXPECT_EQ(missing.description,
            L"Failed to delete registry Key: '" + root + L"',Section: '" + deep.SectionKey());

  cRegistry value = At(L"a", L"gone");
  RaisedError e = Raised([&] { value.DeleteValue(); });
  EXPECT_EQ(e.description, L"Failed to delete registry Key: '" + root + L"',Section: '" +
                               value.SectionKey() + L"',Key: 'gone");
  value.ValueType(RegistryValueType::Sz);
  value.Value(L"here");
  EXPECT_TRUE(value.DeleteValue());
  value.Default(L"deleted");
  EXPECT_EQ(value.Value(), Variant(L"deleted"));

  cRegistry nowhere = At(L"x\\y", L"v");
  e = Raised([&] { nowhere.DeleteValue(); });
  EXPECT_EQ(e.number, 26001);
  EXPECT_EQ(e.description, L"Failed to open key '" + root + L"',Section: '" + nowhere.SectionKey() +
                               L"' for delete access");
  // After an error the properties keep their contents.
  EXPECT_EQ(nowhere.ValueKey(), L"v");
}

TEST_P(ScratchKey, EnumerationsAreOneBasedInPlatformOrder) {
  cRegistry reg = At();
  OneBasedList names;
  std::int32_t count = 99;
  names.Add(L"stale");
  EXPECT_TRUE(reg.EnumerateValues(names, count));  // missing key
  EXPECT_EQ(count, 0);
  EXPECT_EQ(names.Count(), 0);
  EXPECT_TRUE(reg.EnumerateSections(names, count));
  EXPECT_EQ(count, 0);

  At(L"A").CreateKey();
  At(L"B").CreateKey();
  reg.ValueType(RegistryValueType::Sz);
  for (const wchar_t* name : {L"first", L"a much longer second value name", L""}) {
    reg.ValueKey(name);
    reg.Value(L"x");
  }
  EXPECT_TRUE(reg.EnumerateSections(names, count));
  ASSERT_EQ(count, 2);
  EXPECT_EQ(names[1], L"A");
  EXPECT_EQ(names[2], L"B");
  EXPECT_THROW(names[3], std::out_of_range);

  EXPECT_TRUE(reg.EnumerateValues(names, count));
  ASSERT_EQ(count, 3);
  ASSERT_EQ(names.Count(), 3);
  std::vector<std::wstring> all{names[1], names[2], names[3]};
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::wstring>{L"", L"a much longer second value name", L"first"}));
}

// Names as long as the platform allows: a 255-character subkey amid others and
// 16,383-character value names are all listed, none lost after them.
TEST_P(ScratchKey, EnumerationsListNamesOfEveryAllowedLength) {
  const std::wstring longKey(255, L'k'), longValue(16383, L'v'), longValue2(16383, L'w');
  for (const std::wstring& name : {std::wstring(L"A"), longKey, std::wstring(L"Z")})
    At(name).CreateKey();
  cRegistry reg = At();
  reg.ValueType(RegistryValueType::Sz);
  for (const std::wstring& name : {std::wstring(L"a"), longValue, longValue2}) {
    reg.ValueKey(name);
    reg.Value(L"x");
  }
  OneBasedList names;
  std::int32_t count = 0;
  EXPECT_TRUE(reg.EnumerateSections(names, count));
  ASSERT_EQ(count, 3);
  std::vector<std::wstring> keys{names[1], names[2], names[3]};
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"A", L"Z", longKey}));

  EXPECT_TRUE(reg.EnumerateValues(names, count));
  ASSERT_EQ(count, 3);
  std::vector<std::wstring> values{names[1], names[2], names[3]};
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{L"a", longValue, longValue2}));
}

INSTANTIATE_TEST_SUITE_P(Roots, ScratchKey, ::testing::ValuesIn(kRoots),
                         [](const ::testing::TestParamInfo<Root>& info) {
                           return info.index == 0 ? "HKCU" : info.index == 1 ? "HKLM" : "HKCR";
                         });

}  // namespace
