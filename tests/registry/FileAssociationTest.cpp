#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "RaisedError.h"
#include "UniqueHandle.h"
#include "cRegistry.h"

namespace {

const wchar_t kClass[] = L"MdacRepairTests.Document";
const wchar_t kExtension[] = L"mdactest";

// The unnamed value of a key, read past the class; "<missing>" when absent.
std::wstring DefaultOf(HKEY root, const std::wstring& path) {
  UniqueHKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return L"<missing>";
  wchar_t data[512] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                       &size) != ERROR_SUCCESS)
    return L"<missing>";
  return data;
}

// Every entry must be in both places.
std::wstring Entry(const std::wstring& path) {
  const std::wstring classesRoot = DefaultOf(HKEY_CLASSES_ROOT, path);
  const std::wstring machine = DefaultOf(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + path);
  EXPECT_EQ(classesRoot, machine) << path;
  return classesRoot;
}

class FileAssociation : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE}) {
      const std::wstring prefix = root == HKEY_LOCAL_MACHINE ? L"SOFTWARE\\Classes\\" : L"";
      RegDeleteTreeW(root, (prefix + kClass).c_str());
      RegDeleteTreeW(root, (prefix + L"." + kExtension).c_str());
    }
  }
};

TEST_F(FileAssociation, WritesEveryVerbWithItsDefaultsUnderBothRoots) {
  cRegistry reg;
  reg.CreateEXEAssociation(L"  C:\\Program Files\\Tool\\tool.exe ", kClass, L"Test document",
                           kExtension, L"", L"", L"", L"", true, true, true, 0);
  const std::wstring p = L"\"C:\\Program Files\\Tool\\tool.exe\"";
  const std::wstring c = kClass;
  EXPECT_EQ(Entry(L".mdactest"), kClass);
  EXPECT_EQ(Entry(c), L"Test document");
  EXPECT_EQ(Entry(c + L"\\shell\\open"), L"&Open");
  EXPECT_EQ(Entry(c + L"\\shell\\open\\command"), p + L" \"%1\"");
  EXPECT_EQ(Entry(c + L"\\shell\\print"), L"&Print");
  EXPECT_EQ(Entry(c + L"\\shell\\print\\command"), p + L" /p \"%1\"");
  EXPECT_EQ(Entry(c + L"\\shell\\add"), L"&Install mdactest");
  EXPECT_EQ(Entry(c + L"\\shell\\add\\command"), p + L" /a \"%1\"");
  EXPECT_EQ(Entry(c + L"\\shell\\new"), L"&New");
  EXPECT_EQ(Entry(c + L"\\shell\\new\\command"), p + L" /n \"%1\"");
  EXPECT_EQ(Entry(c + L"\\DefaultIcon"), p + L",0");

  // The object is left on the machine root with the last path set.
  EXPECT_EQ(reg.ClassKey(), static_cast<std::int32_t>(RegistryRootKey::LocalMachine));
  EXPECT_EQ(reg.SectionKey(), c + L"\\DefaultIcon");
  EXPECT_EQ(reg.ValueKey(), L"");
  EXPECT_EQ(reg.ValueType(), 1);
}

TEST_F(FileAssociation, OptionalVerbsAndIconStayOutAndQuotedPathsKeepTheirQuotes) {
  cRegistry reg;
  reg.CreateEXEAssociation(L"\"C:\\tool.exe\"", kClass, L"Doc", kExtension, L"&Edit", L"x", L"y",
                           L"z", false, false, false, -1);
  const std::wstring c = kClass;
  EXPECT_EQ(Entry(c + L"\\shell\\open"), L"&Edit");
  EXPECT_EQ(Entry(c + L"\\shell\\open\\command"), L"\"C:\\tool.exe\" \"%1\"");
  for (const wchar_t* absent :
       {L"\\shell\\print", L"\\shell\\add", L"\\shell\\new", L"\\DefaultIcon"})
    EXPECT_EQ(Entry(c + absent), L"<missing>") << absent;

  // Given menu texts are used; an empty path becomes one quote.
  reg.CreateEXEAssociation(L"", kClass, L"Doc", kExtension, L"", L"Drucken", L"Neu", L"Setup", true,
                           true, true, 3);
  EXPECT_EQ(Entry(c + L"\\shell\\print"), L"Drucken");
  EXPECT_EQ(Entry(c + L"\\shell\\add"), L"Setup");
  EXPECT_EQ(Entry(c + L"\\shell\\new"), L"Neu");
  EXPECT_EQ(Entry(c + L"\\shell\\open\\command"), L"\" \"%1\"");
  EXPECT_EQ(Entry(c + L"\\DefaultIcon"), L"\",3");
}

TEST_F(FileAssociation, AdditionalVerbs) {
  cRegistry reg;
  auto raised = [&](const Variant& items) {
    try {
      reg.CreateAdditionalEXEAssociations(kClass, items);
    } catch (const RaisedError& e) {
      return e.number;
    }
    return 0;
  };
  // Before the class exists.
  reg.ClassKey(RegistryRootKey::ClassesRoot);
  EXPECT_EQ(raised(Variant::List{}), -2147194451);

  reg.CreateEXEAssociation(L"C:\\tool.exe", kClass, L"Doc", kExtension, L"", L"", L"", L"", false,
                           false, false, -1);
  EXPECT_EQ(raised(Variant::List{L"a", L"b", L"c", L"d"}), -2147194452);
  EXPECT_EQ(raised(L"not a list"), -2147194452);
  // The class test looks under the current root, which the association left on
  // HKEY_LOCAL_MACHINE, where the class key is not: the caller sets the root.
  EXPECT_EQ(raised(Variant::List{}), -2147194451);
  reg.ClassKey(RegistryRootKey::ClassesRoot);
  EXPECT_EQ(raised(Variant::List{}), 0);
  EXPECT_EQ(Entry(std::wstring(kClass) + L"\\shell\\a"), L"<missing>");

  reg.ClassKey(RegistryRootKey::ClassesRoot);
  EXPECT_EQ(raised(Variant::List{L"edit", L"&Edit", L"notepad.exe %1", L"view", std::int32_t{7},
                                 L"viewer \"%1\""}),
            0);
  const std::wstring c = kClass;
  EXPECT_EQ(Entry(c + L"\\shell\\edit"), L"&Edit");
  EXPECT_EQ(Entry(c + L"\\shell\\edit\\command"), L"notepad.exe %1");
  EXPECT_EQ(Entry(c + L"\\shell\\view"), L"7");
  EXPECT_EQ(Entry(c + L"\\shell\\view\\command"), L"viewer \"%1\"");
  EXPECT_EQ(Entry(c + L"\\shell\\open"), L"&Open");  // the existing verb is untouched
}

// An item without a text form (a list) skips only what needs it; nothing empty
// is written in its place.
TEST_F(FileAssociation, AdditionalVerbsWithItemsWithoutText) {
  cRegistry reg;
  reg.CreateEXEAssociation(L"C:\\tool.exe", kClass, L"Doc", kExtension, L"", L"", L"", L"", false,
                           false, false, -1);
  reg.ClassKey(RegistryRootKey::ClassesRoot);
  const Variant list = Variant::List{L"x"};
  reg.CreateAdditionalEXEAssociations(
      kClass, Variant::List{L"name", list, L"cmd.exe", L"edit", L"&Edit", list, list, L"&Bad",
                            L"bad.exe", L"last", L"&Last", L"last.exe"});
  const std::wstring c = kClass;
  // No menu text: the verb key gets none, the command is written as given.
  EXPECT_EQ(Entry(c + L"\\shell\\name\\command"), L"cmd.exe");
  EXPECT_EQ(Entry(c + L"\\shell\\name"), L"<missing>");
  EXPECT_EQ(Entry(c + L"\\shell\\edit"), L"&Edit");
  EXPECT_EQ(Entry(c + L"\\shell\\edit\\command"), L"<missing>");
  // No verb name: the whole triple is skipped, no default verb, no stray key.
  EXPECT_EQ(Entry(c + L"\\shell"), L"<missing>");
  EXPECT_EQ(Entry(c + L"\\shell\\command"), L"<missing>");
  UniqueHKEY stray;
  EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, (c + L"\\shell\\command").c_str(), 0, KEY_QUERY_VALUE,
                          stray.put()),
            ERROR_SUCCESS);
  // The triples after the bad one are written.
  EXPECT_EQ(Entry(c + L"\\shell\\last"), L"&Last");
  EXPECT_EQ(Entry(c + L"\\shell\\last\\command"), L"last.exe");
}

}  // namespace
