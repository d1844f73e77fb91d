#include "LeadingNumber.h"

#include <cstdlib>
#include <string>

double LeadingNumber(const std::wstring& text) {
  std::string number;
  bool point = false, digits = false;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      number += static_cast<char>(c);
      digits = true;
    } else if (c == L'.' && !point) {
      number += '.';
      point = true;
    } else {
      break;
    }
  }
  return digits ? std::strtod(number.c_str(), nullptr) : 0.0;
}
