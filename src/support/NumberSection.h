#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FormatLocale.h"
#include "PatternLexer.h"

// One section of a number pattern, read once: where its digit placeholders
// and its decimal point stand, which commas group thousands, and how many
// percent signs scale the number. Format then only walks the pieces.
class NumberSection {
 public:
  explicit NumberSection(PatternPieces pieces);

  // `withSign`: write a minus before a negative number (the first section
  // does; the negative section carries its own sign or parentheses).
  std::wstring Format(double number, bool withSign, const FormatLocale& locale) const;

 private:
  bool IsDigit(std::size_t i) const;
  bool IsIntegerDigit(std::size_t i) const { return IsDigit(i) && i < point_; }

  PatternPieces pieces_;
  std::vector<std::size_t> integerSlots_, decimalSlots_;
  std::size_t point_;  // the decimal point's piece, or pieces_.size() without one
  std::vector<bool> groupingComma_;
  bool grouping_ = false;
  int percents_ = 0;
  std::size_t decimalsAlwaysWritten_ = 0;  // up to the last 0 after the point
  std::size_t integerZeros_ = 0;           // grouped digits are padded to these
};

// Chooses the section for the number (positive;negative;zero) and formats it.
std::wstring FormatNumber(double number, const PatternPieces& pieces, const FormatLocale& locale);
