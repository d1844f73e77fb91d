// The program's own split of its command line: built natively too; under
// Wine it is also held against the platform's CommandLineToArgvW.
#include "CommandLineWords.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#endif

namespace {

using Words = std::vector<std::wstring>;

std::wstring Shown(const std::wstring& line) {
  std::wstring shown;
  for (const wchar_t c : line) shown += c == L'\t' ? std::wstring(L"<TAB>") : std::wstring(1, c);
  return L"[" + shown + L"]";
}

TEST(CommandLineWords, SplitsAsThePlatformDoes) {
  struct Case {
    std::wstring line;
    Words words;
  };
  const Case cases[] = {
      {L"", {L""}},
      {L"prog", {L"prog"}},
      {L"prog  /check\t/json ", {L"prog", L"/check", L"/json"}},
      // The program's name: quoted up to the next quote, escapes or not.
      {L"\"C:\\Program Files\\Mdac\\MdacRepair.exe\" /check",
       {L"C:\\Program Files\\Mdac\\MdacRepair.exe", L"/check"}},
      {L"\"C:\\dir\\\" /check", {L"C:\\dir\\", L"/check"}},
      {L"\"unclosed name", {L"unclosed name"}},
      {L"\"a\"b c", {L"a", L"b", L"c"}},
      {L"C:\\dir\\prog.exe\t/x", {L"C:\\dir\\prog.exe", L"/x"}},
      // Quotes group and are dropped; empty groups are empty arguments.
      {L"p \"/check /json\"", {L"p", L"/check /json"}},
      {L"p \"\" x", {L"p", L"", L"x"}},
      {L"p a\"b c\"d", {L"p", L"ab cd"}},
      {L"p \"open to the end", {L"p", L"open to the end"}},
      // Backslashes count only before a quote.
      {L"p C:\\dir\\ x", {L"p", L"C:\\dir\\", L"x"}},
      {L"p a\\\\b", {L"p", L"a\\\\b"}},
      {L"p a\\\"b", {L"p", L"a\"b"}},
      {L"p a\\\\\"b c\"", {L"p", L"a\\b c"}},
      {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
      {L"p \"C:\\dir\\\\\" x", {L"p", L"C:\\dir\\", L"x"}},
      {L"p \"C:\\dir\\\" x", {L"p", L"C:\\dir\" x"}},
      // Runs of quotes: inside a group a doubled quote is kept and ends it.
      {L"p \"a\"\"b\" c", {L"p", L"a\"b c"}},
      {L"p \"\"\"", {L"p", L"\""}},
      {L"p \"\"\"\"", {L"p", L"\""}},
      {L"p a\"\"\"b c", {L"p", L"a\"b", L"c"}},
      {L"p \"a\"\"\"b c\"", {L"p", L"a\"b c"}},
      // What the helpers' switches look like.
      {L"\"C:\\x\\MdacRepair.exe\" /access-helper 1F4 \"C:\\Temp\\MdacRepair.1a2b\"",
       {L"C:\\x\\MdacRepair.exe", L"/access-helper", L"1F4", L"C:\\Temp\\MdacRepair.1a2b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLineWords(c.line), c.words) << Shown(c.line);
}

TEST(CommandLineWords, TheLongestLineIsSplitWhole) {
  // The platform allows command lines of 32767 characters.
  std::wstring line = L"p";
  while (line.size() + 7 <= 32767) line += L" \"a\\\"b\"";
  const Words words = CommandLineWords(line);
  ASSERT_EQ(words.size(), 1 + (line.size() - 1) / 7);
  for (std::size_t i = 1; i < words.size(); ++i) ASSERT_EQ(words[i], L"a\"b") << i;
}

#ifdef _WIN32

Words PlatformWords(const std::wstring& line) {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(line.c_str(), &count);
  Words words(argv, argv + count);
  LocalFree(argv);
  return words;
}

// The platform's own split, on lines made to hit its rules: each position
// drawn from the characters that matter (quotes, backslashes, blanks), and a
// letter now and then. The program's name is given, as the platform would
// put its own path in for an empty line.
TEST(CommandLineWords, AgreesWithThePlatformOnEveryKindOfLine) {
  std::mt19937 random(20240607);
  const std::wstring alphabet = L"\"\"\\\\  \tab";
  const std::wstring names[] = {L"p", L"\"C:\\a b\\p.exe\"", L"\"q\"r", L"\"", L"C:\\p\\"};
  int compared = 0;
  for (const std::wstring& name : names) {
    for (int round = 0; round < 3000; ++round) {
      std::wstring line = name;
      const int length = static_cast<int>(random() % 14);
      for (int i = 0; i < length; ++i) line += alphabet[random() % alphabet.size()];
      ASSERT_EQ(CommandLineWords(line), PlatformWords(line)) << Shown(line);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 15000);
}

#endif

}  // namespace
