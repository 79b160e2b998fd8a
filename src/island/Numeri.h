#pragma once
// Number and text conversions shared by every parser of island replies,
// files and typed answers.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ondrix {

// A field that should hold a number does not, or a value does not fit: the
// step that met it fails (the start-up skips it, a file is refused).
struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Leading-number parse: the numeric value at the start of the text. Blanks,
// tabs and line feeds anywhere are ignored; reading stops at the first other
// character that cannot continue the number; 0 when there is none.
double valoreIniziale(std::string_view x);

// valoreIniziale taken to the nearest integer (a half to the even neighbour).
// Throws ParseError when the value does not fit a 16-bit integer.
std::int16_t numero(std::string_view x);

// The integer written in x, blanks, tabs, CR and LF around it ignored; a
// decimal fraction is rounded to the nearest (a half to the even neighbour).
// Throws ParseError when x is not a number or does not fit 16 bits.
std::int16_t intero(std::string_view x);
// The same, or nothing where intero throws.
std::optional<std::int16_t> interoOpzionale(std::string_view x);

// Nearest 16-bit integer of v, a half to the even neighbour; ParseError when
// it does not fit.
std::int16_t arrotonda16(double v);

// Without leading and trailing blanks (spaces only).
std::string trim(std::string_view x);

// Decimal text, no blanks: 3 -> "3", -1 -> "-1".
std::string testo(long v);

// Print form of a number: a space (or the minus sign) before the digits, no
// trailing blank: 3 -> " 3", -1 -> "-1".
std::string testoConSegno(long v);

// Everything from the first ':' on, cut one character after it: "AB: 5" ->
// "AB: ". Without a colon only the first character remains.
std::string finoAlDuePunti(std::string_view caption);

} // namespace ondrix
