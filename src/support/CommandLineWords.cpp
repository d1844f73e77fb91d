#include "CommandLineWords.h"

namespace {

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> CommandLineWords(std::wstring_view line) {
  std::vector<std::wstring> words(1);
  std::size_t i = 0;
  // The program's name knows no escapes: a path holds no quote.
  if (!line.empty() && line[0] == L'"') {
    for (i = 1; i < line.size() && line[i] != L'"'; ++i) words[0] += line[i];
    if (i < line.size()) ++i;  // its closing quote
  } else {
    for (; i < line.size() && !Blank(line[i]); ++i) words[0] += line[i];
  }
  for (;;) {
    while (i < line.size() && Blank(line[i])) ++i;
    if (i == line.size()) return words;
    std::wstring& word = words.emplace_back();
    bool grouped = false;
    while (i < line.size() && (grouped || !Blank(line[i]))) {
      if (line[i] == L'\\') {
        std::size_t backslashes = 0;
        for (; i < line.size() && line[i] == L'\\'; ++i) ++backslashes;
        const bool beforeQuote = i < line.size() && line[i] == L'"';
        word.append(beforeQuote ? backslashes / 2 : backslashes, L'\\');
        if (beforeQuote && backslashes % 2 == 1) {
          word += L'"';
          ++i;
        }
      } else if (line[i] == L'"') {
        // A run of quotes: the first opens or closes a group; in the run,
        // every third quote counted from an open group is kept and leaves
        // the group closed.
        int count = grouped ? 2 : 1;
        for (++i; i < line.size() && line[i] == L'"'; ++i) {
          if (++count == 3) {
            word += L'"';
            count = 0;
          }
        }
        grouped = count == 1;
      } else {
        word += line[i++];
      }
    }
  }
}
