#pragma once

// The save file's bytes and the wide text the game works with. The game always writes UTF-16
// little-endian with its byte-order mark; it reads back UTF-16 in either byte order, UTF-8
// after its mark, and anything else as Windows-1252, the fixed single-byte stand-in for the
// ANSI code page on systems that have none.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace grumbo {

// Decodes a whole file. Returns 0 and the text, or an error code and leaves text empty:
// 13 for UTF-16 of odd size, 1113 for invalid UTF-8 after a UTF-8 mark.
std::uint32_t decodeSaveText(const std::uint8_t* bytes, std::size_t count, std::wstring& text);

// The bytes written to disk: FF FE, then the text as UTF-16 little-endian code units.
std::vector<std::uint8_t> encodeSaveText(const std::wstring& text);

} // namespace grumbo
