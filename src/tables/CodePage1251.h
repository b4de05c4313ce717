#pragma once
// Code page 1251 <-> Unicode, by our own table so the result is fixed and unmappable
// characters are ours to decide.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace tables {

// Unicode code point of a code page 1251 byte. 0x98, unassigned, gives U+0098 as the system
// decoders do, so every byte survives a round trip through the grid's Unicode text.
char32_t FromCp1251(std::uint8_t byte);
// The code page 1251 byte of a code point, or '?' when the code page cannot hold it.
std::uint8_t ToCp1251(char32_t codePoint);
bool IsInCp1251(char32_t codePoint);

QString DecodeCp1251(const std::string& bytes);
// Characters the code page cannot hold become '?', one '?' for each character.
std::string EncodeCp1251(const QString& text);

// UTF-8 text in code page 1251, each character the code page cannot hold as one '?'. False when
// the bytes are not valid UTF-8 (out is then unspecified).
bool Utf8ToCp1251(std::string_view utf8, std::string& out);
std::string Cp1251ToUtf8(std::string_view bytes);
// Cp1251ToUtf8, added to the end of utf8.
void AppendAsUtf8(std::string_view cp1251, std::string& utf8);

}  // namespace tables
