#include <gtest/gtest.h>

#include <string>

#include "ComponentFixtures.h"
#include "MessageBoxCatcher.h"
#include "UniqueHandle.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

// ADODB.Connection, which Wine's own msado15.dll registers in the registry view
// of its word size: the one this test process reads.
const wchar_t kConnectionClass[] =
    L"Software\\Classes\\CLSID\\{00000514-0000-0010-8000-00AA006D2EA4}";

bool ClassRegistered() {
  UniqueHKEY key;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, kConnectionClass, 0, KEY_QUERY_VALUE, key.put()) ==
         ERROR_SUCCESS;
}

// On an unchanged Wine, the repair re-registers Wine's own components for
// real: a class key that was lost comes back.
TEST(StockRepair, BringsBackALostClassOfWinesOwnComponents) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kConnectionClass);
  ASSERT_FALSE(ClassRegistered());
  frmMain form(frmMain::Options{false, ProgramPath()});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Press(ControlId::cmdWeiter);
  form.Press(ControlId::cmdWeiter);
  MessageBoxCatcher boxes;  // the catalogue files Wine does not have
  form.Press(ControlId::cmdRepairMDAC);
  EXPECT_TRUE(form.bRepairDone);
  EXPECT_TRUE(ClassRegistered());
  for (const auto& box : boxes.boxes())
    EXPECT_EQ(box.text.find(L"MSADO15.DLL"), std::wstring::npos)
        << "Wine's msado15.dll was not registered";
}

}  // namespace
