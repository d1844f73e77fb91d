#include "LoadText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "FindingTexts.h"
#include "TextIds.h"
#include "Utf8.h"

namespace {

constexpr int kIds[] = {100, 101, 102, 103, 104, 106, 107, 108, 110, 111, 112, 113, 114, 115, 117,
                        118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 131, 132, 134,
                        135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149,
                        150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160, 161};

std::wstring En(int id) { return LoadText(id, UiLanguage::English); }
std::wstring De(int id) { return LoadText(id, UiLanguage::German); }

TEST(Catalogue, EveryIdHasBothLanguagesAndNoOtherIdExists) {
  for (int id = 90; id <= 170; ++id) {
    const bool listed = std::find(std::begin(kIds), std::end(kIds), id) != std::end(kIds);
    EXPECT_EQ(!En(id).empty(), listed) << id;
    EXPECT_EQ(!De(id).empty(), listed) << id;
  }
  // Texts the two languages share are few: the lone spaces.
  for (int id : kIds) {
    if (id != 135 && id != 136) {
      EXPECT_NE(En(id), De(id)) << id;
    }
  }
  EXPECT_EQ(LoadText(-1, UiLanguage::English), L"");
  EXPECT_EQ(LoadText(70000, UiLanguage::German), L"");
}

// The engine inventory's texts: every one in both languages.
TEST(Catalogue, EveryEngineTextHasBothLanguages) {
  for (int id = IDS_ENGINES_HEADER; id <= IDS_ENGINES_ACE_OFFICE_ONLY_MANY; ++id) {
    EXPECT_FALSE(En(id).empty()) << id;
    EXPECT_FALSE(De(id).empty()) << id;
  }
  EXPECT_EQ(En(IDS_ENGINES_ACE_OFFICE_ONLY_MANY + 1), L"");
}

TEST(Catalogue, TextsAreExactlyAsStored) {
  EXPECT_EQ(En(IDS_CAPTION), L"MDAC Analysis and Repair Program");
  EXPECT_EQ(De(IDS_CAPTION), L"MDAC-Analyse und Reparaturprogramm");
  // Line feeds are single characters; the English heading has one, the German none.
  EXPECT_EQ(En(IDS_WELCOME_HEADING), L"Welcome to the Veltrano\nMDAC Repair Tool");
  EXPECT_EQ(De(IDS_WELCOME_HEADING), L"Willkommen beim Veltrano MDAC-Reparaturprogramm");
  EXPECT_EQ(En(IDS_LOAD_PROBLEM), L"A problem has occurred when loading the file '[*]:\n[*]");
  // Straight quotes around Weiter.
  EXPECT_EQ(De(IDS_WELCOME_CONTINUE), L"Um fortzufahren, klicken Sie auf \"Weiter\".");
  EXPECT_EQ(De(IDS_VERSIONS_CONTINUE).substr(0, 28), L"Klicken Sie auf \"Weiter\", um");
  // Leading spaces and line feeds belong to the texts.
  EXPECT_EQ(De(IDS_MDAC_XP_SP2).substr(0, 4), L" Wir");
  EXPECT_EQ(En(IDS_MDAC_XP_SP2).substr(0, 3), L"We ");
  EXPECT_EQ(De(IDS_JET_NEWER), L" Es gibt eine neuere Version, auf die Sie aktualisieren sollten.");
  EXPECT_EQ(En(IDS_JET_NEWER), L"There is a newer version available to which you should update.");
  EXPECT_EQ(En(IDS_MDAC_LATEST), L"\nThis is the latest version of MDAC. No update is required.");
  EXPECT_EQ(De(IDS_MDAC_LATEST),
            L" Dies ist die neueste verf\u00FCgbare MDAC-Version; kein Update wird ben\u00F6tigt.");
  EXPECT_EQ(En(IDS_JET_DOWNLOAD_HINT).substr(0, 4), L"\n\nIf");
  EXPECT_EQ(De(IDS_JET_DOWNLOAD_HINT).substr(0, 6), L"\n\nWenn");
  EXPECT_EQ(En(IDS_SPACE_1), L" ");
  EXPECT_EQ(De(IDS_SPACE_2), L" ");
  // Umlauts and sharp s survive the resource compiler.
  EXPECT_EQ(De(IDS_CLOSE), L"Schlie\u00DFen");
  // The reasons given for a component that crashed or hung.
  EXPECT_EQ(En(IDS_COMPONENT_CRASHED), L"The component stopped unexpectedly (exception code [*]).");
  EXPECT_EQ(De(IDS_COMPONENT_TIMED_OUT),
            L"Die Komponente ist nicht innerhalb von [*] Sekunden fertig geworden und wurde "
            L"abgebrochen.");
  EXPECT_EQ(De(IDS_BACK), L"< Zur\u00FCck");
  EXPECT_EQ(En(IDS_NEXT), L"Next >");
  EXPECT_EQ(De(IDS_CLICK), L"Klicken Sie auf '[*]'.");
  for (int id : kIds) {
    EXPECT_EQ(En(id).find(L'\r'), std::wstring::npos) << id;
    EXPECT_EQ(De(id).find(L'\\'), std::wstring::npos) << id;
  }
}

TEST(Catalogue, AddressesPointAtTheMakersSite) {
  const std::wstring site = std::wstring(L"http://") + MDAC_WEB_HOST;
  EXPECT_EQ(En(IDS_URL_DOWNLOAD), site + L"/en/download/mdac.html");
  EXPECT_EQ(De(IDS_URL_DOWNLOAD), site + L"/de/download/mdac.html");
  EXPECT_EQ(En(IDS_URL_DONATION), site + L"/en/download/mdac_donation.html");
  EXPECT_EQ(De(IDS_URL_DONATION), site + L"/de/download/mdac_spende.html");
  EXPECT_EQ(En(IDS_URL_REPAIR), site + L"/en/download/repair_mdac.html");
  EXPECT_EQ(De(IDS_URL_REPAIR), site + L"/de/download/mdac_reparieren.html");
  EXPECT_EQ(En(IDS_URL_REPAIR_XP), site + L"/en/download/mdac_xp_sp2.html");
  EXPECT_EQ(De(IDS_URL_REPAIR_XP), site + L"/de/download/mdac_xp_sp2.html");
}

TEST(Catalogue, ClosingLetter) {
  const std::wstring en = En(IDS_LETTER);
  EXPECT_EQ(en.rfind(L"Dear User,\n\nThis software has probably resolved", 0), 0u);
  EXPECT_NE(en.find(L"US-$ 5.00. Click Exit to show a Web page with further information.\n\n"
                    L"Many thanks!\n\n"),
            std::wstring::npos);
  const std::wstring de = De(IDS_LETTER);
  EXPECT_NE(de.find(std::wstring(L"per E-Mail an ") + MDAC_SUPPORT_EMAIL +
                    L".\n\nMit freundlichen Gr\u00FC\u00DFen\n"),
            std::wstring::npos);
  EXPECT_NE(de.find(L"L\u00F6sung Ihres Problem gedient"), std::wstring::npos);
}

// Run once per locale by ctest, which says which language the user has.
TEST(Catalogue, FollowsTheUsersLanguage) {
  const char* expected = std::getenv("MDAC_EXPECT_UI");
  if (!expected) GTEST_SKIP() << "MDAC_EXPECT_UI not set";
  const bool german = std::string(expected) == "de";
  EXPECT_EQ(UserUiLanguage(), german ? UiLanguage::German : UiLanguage::English);
  for (int id : kIds) EXPECT_EQ(LoadText(id), german ? De(id) : En(id)) << id;
}

}  // namespace

namespace {

std::size_t Placeholders(const std::wstring& text) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(L"[*]", at)) != std::wstring::npos; at += 3) ++n;
  return n;
}

TEST(Catalogue, TheCheckOfAFileSaysEachFindingInBothLanguagesAlike) {
  int found = 0;
  for (int id = 400; id < 500; ++id) {
    const std::wstring en = En(id), de = De(id);
    EXPECT_EQ(en.empty(), de.empty()) << id;
    if (en.empty()) continue;
    ++found;
    EXPECT_EQ(Placeholders(en), Placeholders(de)) << id;
    // German quotes are typographic; English ones plain.
    EXPECT_EQ(de.find(L'"'), std::wstring::npos) << id;
    EXPECT_EQ(en.find(L'\u201E'), std::wstring::npos) << id;
  }
  EXPECT_GE(found, 50);
  // Each sentence is filled without a fault, and its escapes leave one
  // backslash of each pair: the path keeps its two leading ones.
  for (int id = 400; id < 500; ++id) {
    if (En(id).empty()) continue;
    Finding finding{id, std::vector<FindingValue>(Placeholders(En(id)), FindingValue(L"C:\\x"))};
    EXPECT_NO_THROW(FindingText(finding)) << id;
  }
  const std::wstring unc = FindingText({IDS_CHECK_NO_DRIVE, {L"X:"}});
  const std::size_t server = unc.find(L" \\\\");
  ASSERT_NE(server, std::wstring::npos) << ToUtf8(unc);
  EXPECT_NE(unc[server + 3], L'\\') << ToUtf8(unc);
  EXPECT_NE(unc.find(L"\\...", server), std::wstring::npos) << ToUtf8(unc);
}

}  // namespace
