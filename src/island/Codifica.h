#pragma once
// Text encodings of the files the configurator reads and writes: files made
// for the island's tools are Windows-1252, files edited elsewhere may be UTF-8.
// Inside the program every text is UTF-8.

#include <string>
#include <string_view>

namespace ondrix {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool utf8Valido(std::string_view bytes);

// Windows-1252 bytes as UTF-8 text. The five bytes the code page leaves
// unassigned keep their C1 code points, so the way back is lossless.
std::string cp1252AUtf8(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes; a character the code page lacks becomes '?'
// (so do the C1 controls U+0080..U+009F, and a byte that is not well-formed
// UTF-8).
std::string utf8ACp1252(std::string_view utf8);

// A file's bytes as UTF-8: kept when they are well-formed UTF-8 (a leading
// byte order mark dropped), else read as Windows-1252.
std::string decodificaTesto(std::string_view bytes);

} // namespace ondrix
