#pragma once

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A strict reader of the JSON the program writes, independent of its writer:
// the tests read the program's reports with it. It decodes the UTF-8 itself,
// so that the tests compare what was written with the texts the program
// meant, not with the writer's own encoding of them. Throws
// std::runtime_error on anything that is not JSON or not UTF-8 (trailing text,
// overlong forms and encoded surrogates included).
struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;   // as written: UTF-8
  std::wstring wide;  // the same text decoded: UTF-16 where wchar_t has 16 bits
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;
  std::vector<std::string> keys;  // in the order written

  bool IsNull() const { return kind == Kind::Null; }
  const JsonValue& operator[](const std::string& key) const {
    const auto found = members.find(key);
    if (kind != Kind::Object || found == members.end())
      throw std::runtime_error("no member " + key);
    return found->second;
  }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }

  static JsonValue Parse(std::string_view json) {
    Reader reader{json, 0};
    JsonValue value = reader.Value();
    reader.Blanks();
    if (reader.at != json.size()) throw std::runtime_error("text after the value");
    return value;
  }

 private:
  struct Reader {
    std::string_view in;
    std::size_t at;

    [[noreturn]] void Fail(const char* what) const {
      throw std::runtime_error(std::string(what) + " at " + std::to_string(at));
    }
    void Blanks() {
      while (at < in.size() &&
             (in[at] == ' ' || in[at] == '\t' || in[at] == '\r' || in[at] == '\n'))
        ++at;
    }
    bool Take(std::string_view word) {
      if (in.substr(at, word.size()) != word) return false;
      at += word.size();
      return true;
    }
    void Expect(char c) {
      Blanks();
      if (at >= in.size() || in[at] != c) Fail("expected another character");
      ++at;
    }
    unsigned Hex4() {
      if (at + 4 > in.size()) Fail("short \\u escape");
      const std::string digits(in.substr(at, 4));
      char* end = nullptr;
      const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
      if (end != digits.c_str() + 4) Fail("bad \\u escape");
      at += 4;
      return static_cast<unsigned>(value);
    }
    static void Utf8(std::string& out, std::uint32_t c) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    // The characters of a UTF-8 text; fails on anything that is not the
    // shortest form of a character outside the surrogates.
    std::wstring Decoded(const std::string& utf8) const {
      std::wstring out;
      for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
        const unsigned lead = byte(i);
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xC2 && lead < 0xE0 ? 2
                           : lead >= 0xE0 && lead < 0xF0 ? 3
                           : lead >= 0xF0 && lead < 0xF5 ? 4
                                                         : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) Fail("not UTF-8");
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
          if ((byte(i + k) & 0xC0) != 0x80) Fail("not UTF-8");
          c = (c << 6) | (byte(i + k) & 0x3F);
        }
        const std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < shortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) Fail("not UTF-8");
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
          out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
          out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
          out += static_cast<wchar_t>(c);
        }
        i += static_cast<std::size_t>(length);
      }
      return out;
    }
    std::string String() {
      Expect('"');
      std::string out;
      for (;;) {
        if (at >= in.size()) Fail("unterminated string");
        const char c = in[at++];
        if (c == '"') return out;
        if (static_cast<unsigned char>(c) < 0x20) Fail("raw control character in a string");
        if (c != '\\') {
          out += c;
          continue;
        }
        if (at >= in.size()) Fail("unterminated escape");
        const char e = in[at++];
        switch (e) {
          case '"':
            out += '"';
            break;
          case '\\':
            out += '\\';
            break;
          case '/':
            out += '/';
            break;
          case 'b':
            out += '\b';
            break;
          case 'f':
            out += '\f';
            break;
          case 'n':
            out += '\n';
            break;
          case 'r':
            out += '\r';
            break;
          case 't':
            out += '\t';
            break;
          case 'u': {
            std::uint32_t c1 = Hex4();
            if (c1 >= 0xD800 && c1 <= 0xDBFF && Take("\\u")) {
              const std::uint32_t c2 = Hex4();
              if (c2 < 0xDC00 || c2 > 0xDFFF) Fail("bad surrogate pair");
              c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
            }
            Utf8(out, c1);
            break;
          }
          default:
            Fail("unknown escape");
        }
      }
    }
    JsonValue Value() {
      Blanks();
      JsonValue v;
      if (at >= in.size()) Fail("missing value");
      const char c = in[at];
      if (c == '{') {
        v.kind = Kind::Object;
        ++at;
        Blanks();
        if (Take("}")) return v;
        do {
          Blanks();
          std::string key = String();
          Expect(':');
          if (v.members.count(key)) Fail("repeated key");
          v.keys.push_back(key);
          v.members.emplace(std::move(key), Value());
          Blanks();
        } while (Take(","));
        Expect('}');
      } else if (c == '[') {
        v.kind = Kind::Array;
        ++at;
        Blanks();
        if (Take("]")) return v;
        do {
          v.items.push_back(Value());
          Blanks();
        } while (Take(","));
        Expect(']');
      } else if (c == '"') {
        v.kind = Kind::String;
        v.text = String();
        v.wide = Decoded(v.text);
      } else if (Take("true")) {
        v.kind = Kind::Boolean;
        v.boolean = true;
      } else if (Take("false")) {
        v.kind = Kind::Boolean;
      } else if (Take("null")) {
        v.kind = Kind::Null;
      } else {
        const std::size_t start = at;
        if (in[at] == '-') ++at;
        while (at < in.size() &&
               (std::isdigit(static_cast<unsigned char>(in[at])) || in[at] == '.' ||
                in[at] == 'e' || in[at] == 'E' || in[at] == '+' || in[at] == '-'))
          ++at;
        if (at == start) Fail("not a value");
        const std::string number(in.substr(start, at - start));
        char* end = nullptr;
        v.number = std::strtod(number.c_str(), &end);
        if (end != number.c_str() + number.size()) Fail("bad number");
        v.kind = Kind::Number;
      }
      return v;
    }
  };
};
