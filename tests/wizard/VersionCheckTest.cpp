#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CraftedVersion.h"
#include "InstallationCheck.h"
#include "LoadText.h"
#include "TextIds.h"
#include "WizardTestSupport.h"
#include "frmMain.h"

namespace {

using I = ControlId;

// The two descriptions with their verdicts, word for word.
struct Descriptions {
  const wchar_t* mdac;
  const wchar_t* jet;
};

struct Outcome {
  const wchar_t* fullInstallVer;  // null: no value
  const wchar_t* jet;             // fixture copied as msjet40.dll; null: none
  bool xp;
  // Expected:
  const wchar_t* mdacShown;
  bool mdacCurrent;
  bool jetCurrent;
  bool link;
  bool linkUnderJet;  // when the link shows: under the Jet text, else under the MDAC text
  Descriptions english, german;
};

class VersionCheck : public ::testing::TestWithParam<Outcome> {};

TEST_P(VersionCheck, Outcome) {
  const Outcome& o = GetParam();
  InstalledMdac mdac(o.fullInstallVer);
  InstalledJet jet(o.jet);
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  if (o.xp) form.iWinVersion = 6;
  form.Press(I::cmdWeiter);
  auto text = [&](ControlId id) { return TextOf(form.Control(id)); };
  auto shown = [&](ControlId id) { return Shown(form.Control(id)); };
  auto top = [&](ControlId id) { return PlaceOf(form.Control(id)).top; };

  EXPECT_EQ(form.sMDACVersion, o.mdacShown);
  const Descriptions& expected = UserUiLanguage() == UiLanguage::German ? o.german : o.english;
  EXPECT_EQ(text(I::lblMDACVerDescr), expected.mdac);
  EXPECT_EQ(shown(I::imgMDACVerOK), o.mdacCurrent);
  EXPECT_EQ(shown(I::imgMDACVerProb), !o.mdacCurrent);
  EXPECT_EQ(text(I::lblJetVerDescr), expected.jet);
  EXPECT_EQ(shown(I::imgJetVerOK), o.jetCurrent);
  EXPECT_EQ(shown(I::imgJetVerProb), !o.jetCurrent);

  EXPECT_EQ(form.sPendingUrl, o.link ? LoadText(IDS_URL_DOWNLOAD) : L"");
  EXPECT_EQ(shown(I::lblDownloadMDAC), o.link);
  EXPECT_EQ(shown(I::lblVersionsContinue), !o.link);
  auto bottom = [&](ControlId id) { return PlaceOf(form.Control(id)).bottom; };
  if (o.link) {
    EXPECT_EQ(text(I::lblDownloadMDAC), LoadText(IDS_URL_DOWNLOAD));
    // The link follows the text that asks for it, before the next block.
    EXPECT_GE(top(I::lblDownloadMDAC),
              bottom(o.linkUnderJet ? I::lblJetVerDescr : I::lblMDACVerDescr));
    EXPECT_LT(bottom(I::lblDownloadMDAC),
              top(o.linkUnderJet ? I::lblAccessHeader : I::lblJetVerHeader));
  } else {
    EXPECT_EQ(text(I::lblVersionsContinue), LoadText(IDS_VERSIONS_CONTINUE));
  }
  // The Jet block follows the MDAC block, its icons beside its text.
  EXPECT_GT(top(I::lblJetVerHeader), bottom(I::lblMDACVerDescr));
  EXPECT_EQ(top(I::imgJetVerOK), top(I::lblJetVerDescr) - form.ToPixels(kIconAboveText));
  EXPECT_EQ(top(I::imgJetVerProb), top(I::lblJetVerDescr) - form.ToPixels(kIconAboveText));
  EXPECT_EQ(text(I::lblMDACVerHeader), LoadText(IDS_MDAC_HEADER));
  EXPECT_EQ(text(I::lblJetVerHeader), LoadText(IDS_JET_HEADER));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionCheck,
    ::testing::Values(
        // The six rows of the outcome table.
        Outcome{L"2.81.1117.0",
                L"ver_4_0_8015_0.dll",
                false,
                L"2.81",
                true,
                true,
                false,
                false,
                {L"According to the Windows registry, you have MDAC 2.81 installed.\nThis is the "
                 L"latest version of MDAC. No update is required.",
                 L"The installed version of the Microsoft Jet database module is 4.0.8015.\rThis "
                 L"is the latest version of Jet. No update is required."},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.81 installiert. "
                 L"Dies ist die neueste verfügbare MDAC-Version; kein Update wird benötigt.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.8015.\rDies "
                 L"ist die neueste verfügbare Version von Jet; kein Update wird benötigt."}},
        Outcome{L"2.82.1000.0",
                L"ver_4_0_8014_0.dll",
                false,
                L"2.82",
                true,
                false,
                true,
                true,
                {L"According to the Windows registry, you have MDAC 2.82 installed.\nThis is the "
                 L"latest version of MDAC. No update is required.",
                 L"The installed version of the Microsoft Jet database module is 4.0.8014.There is "
                 L"a newer version available to which you should update.\n\nIf possible, first "
                 L"install the recommended update, which you can download here:"},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.82 installiert. "
                 L"Dies ist die neueste verfügbare MDAC-Version; kein Update wird benötigt.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.8014. Es "
                 L"gibt eine neuere Version, auf die Sie aktualisieren sollten.\n\nWenn möglich, "
                 L"installieren Sie bitte zunächst die genannten Updates, die Sie z.B. hier "
                 L"herunterladen können:"}},
        Outcome{L"2.80.1022.0",
                L"ver_4_0_9025_0.dll",
                false,
                L"2.80",
                false,
                true,
                true,
                false,
                {L"According to the Windows registry, you have MDAC 2.80 installed. There is a "
                 L"newer MDAC version available, which we recommend to install. You can download "
                 L"it after clicking the link below.",
                 L"The installed version of the Microsoft Jet database module is 4.0.9025.\rThis "
                 L"is the latest version of Jet. No update is required."},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.80 installiert. Es "
                 L"ist eine neuere MDAC-Version bei Microsoft verfügbar, die Sie nach Klick auf "
                 L"den Link unten herunterladen können.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.9025.\rDies "
                 L"ist die neueste verfügbare Version von Jet; kein Update wird benötigt."}},
        Outcome{L"2.8",
                L"ver_4_0_2927_17.dll",
                false,
                L"2.8",
                false,
                false,
                true,
                true,
                {L"According to the Windows registry, you have MDAC 2.8 installed. There is a "
                 L"newer MDAC version available, which we recommend to install. You can download "
                 L"it after clicking the link below.",
                 L"The installed version of the Microsoft Jet database module is 4.0.2927.There is "
                 L"a newer version available to which you should update.\n\nIf possible, first "
                 L"install the recommended update, which you can download here:"},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.8 installiert. Es "
                 L"ist eine neuere MDAC-Version bei Microsoft verfügbar, die Sie nach Klick auf "
                 L"den Link unten herunterladen können.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.2927. Es "
                 L"gibt eine neuere Version, auf die Sie aktualisieren sollten.\n\nWenn möglich, "
                 L"installieren Sie bitte zunächst die genannten Updates, die Sie z.B. hier "
                 L"herunterladen können:"}},
        Outcome{L"2.71.9030.0",
                L"ver_4_0_9025_0.dll",
                true,
                L"2.71",
                false,
                true,
                false,
                false,
                {L"According to the Windows registry, you have MDAC 2.71 installed.We recommend "
                 L"installing Windows XP Service Pack 2 to get the latest version 2.81 of MDAC.",
                 L"The installed version of the Microsoft Jet database module is 4.0.9025.\rThis "
                 L"is the latest version of Jet. No update is required."},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.71 installiert. "
                 L"Wir empfehlen Ihnen die Installation von Windows XP Service Pack 2, um die "
                 L"neueste MDAC-Version 2.81 zu erhalten.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.9025.\rDies "
                 L"ist die neueste verfügbare Version von Jet; kein Update wird benötigt."}},
        Outcome{L"2.71.9030.0",
                L"ver_4_0_8014_0.dll",
                true,
                L"2.71",
                false,
                false,
                true,
                true,
                {L"According to the Windows registry, you have MDAC 2.71 installed.We recommend "
                 L"installing Windows XP Service Pack 2 to get the latest version 2.81 of MDAC.",
                 L"The installed version of the Microsoft Jet database module is 4.0.8014.There is "
                 L"a newer version available to which you should update.\n\nIf possible, first "
                 L"install the recommended update, which you can download here:"},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.71 installiert. "
                 L"Wir empfehlen Ihnen die Installation von Windows XP Service Pack 2, um die "
                 L"neueste MDAC-Version 2.81 zu erhalten.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.8014. Es "
                 L"gibt eine neuere Version, auf die Sie aktualisieren sollten.\n\nWenn möglich, "
                 L"installieren Sie bitte zunächst die genannten Updates, die Sie z.B. hier "
                 L"herunterladen können:"}},
        // A fourth part that is not 0 is the build that counts.
        Outcome{L"6.0.6000.0",
                L"ver_4_0_9000_1.dll",
                false,
                L"6.0.",
                true,
                false,
                true,
                true,
                {L"According to the Windows registry, you have MDAC 6.0. installed.\nThis is the "
                 L"latest version of MDAC. No update is required.",
                 L"The installed version of the Microsoft Jet database module is 4.0.9000.There is "
                 L"a newer version available to which you should update.\n\nIf possible, first "
                 L"install the recommended update, which you can download here:"},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 6.0. installiert. "
                 L"Dies ist die neueste verfügbare MDAC-Version; kein Update wird benötigt.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.9000. Es "
                 L"gibt eine neuere Version, auf die Sie aktualisieren sollten.\n\nWenn möglich, "
                 L"installieren Sie bitte zunächst die genannten Updates, die Sie z.B. hier "
                 L"herunterladen können:"}},
        // Nothing installed at all: the Jet version reads "not available".
        Outcome{nullptr,
                nullptr,
                false,
                L"",
                false,
                false,
                true,
                true,
                {L"According to the Windows registry, you have MDAC  installed. There is a newer "
                 L"MDAC version available, which we recommend to install. You can download it "
                 L"after clicking the link below.",
                 L"The installed version of the Microsoft Jet database module is Not "
                 L"available.There is a newer version available to which you should update.\n\nIf "
                 L"possible, first install the recommended update, which you can download here:"},
                {L"Laut Windows-Systemregistrierung ist auf Ihrem System MDAC  installiert. Es ist "
                 L"eine neuere MDAC-Version bei Microsoft verfügbar, die Sie nach Klick auf den "
                 L"Link unten herunterladen können.",
                 L"Die installierte Version des Microsoft Jet Datenbankmoduls ist Nicht vorhanden. "
                 L"Es gibt eine neuere Version, auf die Sie aktualisieren sollten.\n\nWenn "
                 L"möglich, installieren Sie bitte zunächst die genannten Updates, die Sie z.B. "
                 L"hier herunterladen können:"}}));

// The text of a missing Jet file is the catalogue's "not available".
TEST(VersionCheckMissing, JetWithoutVersionReadsNotAvailable) {
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledJet jet(L"no_version.dll");
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Press(I::cmdWeiter);
  EXPECT_EQ(TextOf(form.Control(I::lblJetVerDescr)),
            Filled(IDS_JET_DESCRIPTION, LoadText(IDS_NOT_AVAILABLE)) + LoadText(IDS_JET_NEWER) +
                LoadText(IDS_JET_DOWNLOAD_HINT));
}

// A Jet file whose version resource claims more than the file holds reads as
// "not available" with the old-version verdict, and Next keeps working.
TEST(VersionCheckMissing, JetWithADamagedVersionReadsNotAvailable) {
  InstalledMdac mdac(L"2.81.1117.0");
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  for (std::uint32_t claim : CraftedVersion::kClaims) {
    const std::wstring name = L"crafted_jet_" + std::to_wstring(claim) + L".dll";
    CraftedVersion::Install(FixturePath(L"ver_4_0_9025_0.dll"), claim, FixturePath(name));
    InstalledJet jet(name.c_str());
    form.Press(I::cmdWeiter);
    EXPECT_EQ(form.iStep, 2) << claim;
    EXPECT_EQ(TextOf(form.Control(I::lblJetVerDescr)),
              Filled(IDS_JET_DESCRIPTION, LoadText(IDS_NOT_AVAILABLE)) + LoadText(IDS_JET_NEWER) +
                  LoadText(IDS_JET_DOWNLOAD_HINT))
        << claim;
    EXPECT_TRUE(Shown(form.Control(I::imgJetVerProb)));
    form.Press(I::cmdZurück);
  }
}

// The release is a text: a value of another type says nothing about it and
// counts as missing, not as release "281"; a text ends at its first NUL.
TEST(VersionCheckMissing, AReleaseThatIsNoTextCountsAsMissing) {
  InstalledMdac mdac(nullptr);  // restores what was there afterwards
  UniqueHKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\DataAccess", 0, KEY_SET_VALUE,
                          key.put()),
            ERROR_SUCCESS);
  const auto bytesOf = [](const wchar_t* text, std::size_t characters) {
    const auto* first = reinterpret_cast<const BYTE*>(text);
    return std::vector<BYTE>(first, first + characters * sizeof(wchar_t));
  };
  const DWORD release281 = 281;
  const struct {
    DWORD type;
    std::vector<BYTE> data;
    std::optional<std::wstring> installed;
    const wchar_t* release;
    bool current;
  } cases[] = {
      {REG_DWORD,
       std::vector<BYTE>(reinterpret_cast<const BYTE*>(&release281),
                         reinterpret_cast<const BYTE*>(&release281) + 4),
       std::nullopt, L"", false},
      {REG_BINARY, {'2', '.', '8', '1', '.', '1'}, std::nullopt, L"", false},
      {REG_MULTI_SZ,
       bytesOf(L"2.81.1117.0\0"
               L"2.80\0",
               18),
       L"2.81.1117.0", L"2.81", true},
      {REG_SZ,
       bytesOf(L"2\0"
               L".81.1117.0",
               13),
       L"2", L"2", false},
      {REG_EXPAND_SZ, bytesOf(L"2.81.1117.0", 12), L"2.81.1117.0", L"2.81", true},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(RegSetValueExW(key.get(), L"FullInstallVer", 0, c.type, c.data.data(),
                             static_cast<DWORD>(c.data.size())),
              ERROR_SUCCESS);
    const VersionFindings found = CheckInstalledVersions(L"C:\\does\\not\\exist", 8);
    EXPECT_EQ(found.fullInstallVer, c.installed) << c.type;
    EXPECT_EQ(found.sMDACVersion, c.release) << c.type;
    EXPECT_EQ(found.mdacCurrent, c.current) << c.type;
  }
}

// A later run changes only what its own branches write.
TEST(VersionCheckAgain, ALaterRunKeepsWhatAnEarlierOneChanged) {
  frmMain form(frmMain::Options{false});
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  {
    InstalledMdac mdac(L"2.80.1022.0");
    InstalledJet jet(L"ver_4_0_8014_0.dll");
    form.Press(I::cmdWeiter);
  }
  form.Press(I::cmdZurück);
  InstalledMdac mdac(L"2.81.1117.0");
  InstalledJet jet(L"ver_4_0_9025_0.dll");
  form.Press(I::cmdWeiter);
  EXPECT_TRUE(Shown(form.Control(I::imgMDACVerProb)));
  EXPECT_FALSE(Shown(form.Control(I::imgMDACVerOK)));
  EXPECT_TRUE(Shown(form.Control(I::imgJetVerProb)));
  // The address of the first run stays, so the link shows it again.
  EXPECT_EQ(form.sPendingUrl, LoadText(IDS_URL_DOWNLOAD));
  EXPECT_TRUE(Shown(form.Control(I::lblDownloadMDAC)));
  const RECT link = PlaceOf(form.Control(I::lblDownloadMDAC));
  EXPECT_GE(link.top, PlaceOf(form.Control(I::lblJetVerDescr)).bottom);
  EXPECT_LT(link.bottom, PlaceOf(form.Control(I::lblAccessHeader)).top);
  EXPECT_EQ(form.sMDACVersion, L"2.81");
}

}  // namespace
