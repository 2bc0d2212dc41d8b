// Which texts a workbook stores as numbers, and the number format that shows
// each of them exactly as the window shows it. A text the window would show
// differently (a trailing zero, a leading blank, an exponent FormatReal does
// not write) stays a text, so that reading the cell back gives the text that
// was written, character for character.
//
//   NumberCellOf("168.728", '.')   -> {168.728, "0.000"}
//   NumberCellOf("168,728", ',')   -> {168.728, "0.000"}   (the program shows the user's separator)
//   NumberCellOf("200", '.')       -> {200, "0"}
//   NumberCellOf("1E15", '.')      -> {1e15, "0E-0"}
//   NumberCellOf("1.5E-7", '.')    -> {1.5e-7, "0.0E-0"}
//   NumberCellOf("200.50", '.'), NumberCellOf("0.3*P/2", '.'), NumberCellOf("", '.') -> nothing
#pragma once

#include <optional>
#include <string>

namespace wormgear {

struct NumberCell {
    double value;
    // The cell's number format, in the file's own notation ('.' as decimal
    // point whatever the user's separator): as many decimals as the text, and
    // for a text in scientific notation "E-", which shows a minus sign for a
    // negative exponent only, as FormatReal writes it.
    std::string formatCode;
};

// The number a text stands for when FormatReal(value, decimalSeparator) gives
// the text back character for character and a spreadsheet holds the value
// (zero, or a magnitude from 2.2250738585072014E-308 to 9.99999999999999E307);
// nothing for every other text.
std::optional<NumberCell> NumberCellOf(const std::string& text, char decimalSeparator);

}  // namespace wormgear
