// libFuzzer target: the placeholder formatter with its pattern language and
// value conversions, under locales made from arbitrary Windows pictures.
//
// Input, one item a line (bytes are read as Latin-1 characters):
//   1. a short-date picture as the user's settings might hold it; after a
//      leading "!" a pattern of our own language, as a hand-made locale
//      might hold it
//   2. a long-time picture, the same way
//   3. the template
//   4+ values, each a kind letter and its text: s text, i 32-bit integer,
//      h 16-bit integer, d floating number, t date serial, b Boolean (0/1),
//      y bytes, l a list, e empty.
// Whatever the input, the formatter must end without a sanitizer report,
// answering with a text or a RaisedError.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FormatPlaceholders.h"
#include "RaisedError.h"
#include "WindowsPicture.h"

namespace {

std::wstring Widen(const std::string& bytes) {
  std::wstring text;
  for (unsigned char c : bytes) text += static_cast<wchar_t>(c);
  return text;
}

Variant ValueOf(const std::string& line) {
  if (line.empty()) return Variant();
  const std::string rest = line.substr(1);
  switch (line[0]) {
    case 's':
      return Variant(Widen(rest));
    case 'i': {
      const long long n = std::strtoll(rest.c_str(), nullptr, 10);
      return Variant(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
    }
    case 'h': {
      const long long n = std::strtoll(rest.c_str(), nullptr, 10);
      return Variant(static_cast<std::int16_t>(static_cast<std::uint16_t>(n)));
    }
    case 'd':
      return Variant(std::strtod(rest.c_str(), nullptr));
    case 't':
      return Variant(Date{std::strtod(rest.c_str(), nullptr)});
    case 'b':
      return Variant(rest == "1");
    case 'y':
      return Variant(Variant::Bytes(rest.begin(), rest.end()));
    case 'l':
      return Variant(Variant::List{Variant(Widen(rest))});
    default:
      return Variant();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  lines.resize(std::max<std::size_t>(lines.size(), 3));
  auto pattern = [](const std::string& line) {
    return !line.empty() && line[0] == '!' ? Widen(line.substr(1))
                                           : PatternFromWindowsPicture(Widen(line));
  };
  FormatLocale locale;
  locale.shortDatePattern = pattern(lines[0]);
  locale.longTimePattern = pattern(lines[1]);
  std::vector<Variant> values;
  for (std::size_t i = 3; i < lines.size() && values.size() < 8; ++i)
    values.push_back(ValueOf(lines[i]));
  try {
    const std::wstring text = FormatPlaceholders(Widen(lines[2]), values, locale);
    // A text that cannot grow without bound: every piece comes from the
    // input, and a piece that stands for the locale's patterns ("c", "ddddd",
    // "Short Date") brings them in once, never again from inside them.
    const std::size_t expansion =
        locale.shortDatePattern.size() + locale.longTimePattern.size() + 2;
    if (text.size() > 64 * (size + 1) * expansion + 4096) __builtin_trap();
  } catch (const RaisedError&) {
  }
  return 0;
}
