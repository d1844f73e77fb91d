#include <gtest/gtest.h>

#include <string>

#include "InstalledComponents.h"
#include "MessageBoxCatcher.h"
#include "TextIds.h"
#include "frmMain.h"

namespace {

// Lets the test read the catalogue the wizard builds.
class CatalogueForm : public frmMain {
 public:
  CatalogueForm() : frmMain(Options{false}) {}
  using frmMain::BuildComponentList;
};

TEST(ComponentCatalogue, TheFormsFileNameMethods) {
  frmMain form;
  EXPECT_EQ(form.GetFile03(L"C:\\A\\B.DLL"), L"B.DLL");
  EXPECT_EQ(form.GetFile(L"C:\\A\\B.DLL"), L"B.DLL");
}

TEST(ComponentCatalogue, RecordsOfPresentAndMissingFiles) {
  InstalledComponents installed(
      {{L"MSADOX.DLL", L""}, {L"MSDAPS.DLL", L"component_2_80.dll"}, {L"msjtes40.dll", L""}});
  CatalogueForm form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.BuildComponentList();
  ASSERT_EQ(form.aComponents.size(), 31u);
  for (std::size_t i = 0; i < 31; ++i) {
    const CatalogueEntry& entry = ComponentCatalogue()[i];
    const ComponentFile& file = form.aComponents[i];
    const std::wstring name = FileNamePart(entry.relative);
    EXPECT_EQ(file.sFileName, name);
    EXPECT_EQ(file.bNoRegister, entry.noRegister) << name;
    EXPECT_EQ(file.bNotListed, entry.notListed) << name;
    EXPECT_EQ(file.sPath, FullPath(entry));  // also for a file not read
    if (name == L"MSADOX.DLL" || name == L"msjtes40.dll") {
      EXPECT_FALSE(file.version) << name;
      EXPECT_EQ(ShownVersion(file.version), L"N/A");
    } else if (name == L"MSDAPS.DLL") {
      EXPECT_EQ(ShownVersion(file.version), L"2.80.1022");
    } else {
      ASSERT_TRUE(file.version) << name;
      EXPECT_EQ(ShownVersion(file.version), L"2.81.1117");
      EXPECT_EQ(file.version->iMajor, 2);
      EXPECT_EQ(file.version->iMinor, 81);
      EXPECT_EQ(file.version->iBuild, 1117);
    }
  }
}

TEST(ComponentCatalogue, WithoutACommonFilesFolderTheSystemFilesAreStillRead) {
  InstalledComponents installed({});
  CatalogueForm form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  MessageBoxCatcher boxes;
  {
    BrokenCommonFilesDir broken;
    form.BuildComponentList();
    form.BuildComponentList();
  }
  ASSERT_EQ(boxes.boxes().size(), 2u);  // once per rebuild
  EXPECT_EQ(boxes.boxes()[0].text, LoadText(IDS_FILES_EXPLANATION));
  // This box alone has no icon: only its text and an OK button.
  EXPECT_EQ(boxes.boxes()[0].icon, 0u);
  EXPECT_EQ(boxes.boxes()[0].buttons, kOkButtonOnly);
  for (std::size_t i = 0; i < 28; ++i) {
    EXPECT_FALSE(form.aComponents[i].version);
    EXPECT_EQ(form.aComponents[i].sPath,
              ComponentCatalogue()[i].relative);  // the relative part alone
  }
  for (std::size_t i = 28; i < 31; ++i)
    EXPECT_EQ(ShownVersion(form.aComponents[i].version), L"2.81.1117");
}

}  // namespace
