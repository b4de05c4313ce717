#pragma once
// Text and number conversions between the table's cells and the scale's bytes.

#include <cstdint>
#include <string>

namespace scale {

// Code page 1251 byte to the scale's byte (Cyrillic letters at their code page 866 places).
std::uint8_t ToScaleChar(std::uint8_t c);
// The scale's byte to code page 1251; 0x00 becomes a space.
std::uint8_t FromScaleChar(std::uint8_t b);

// The integer conversion of a cell's text: leading spaces, then an optional sign and decimal
// digits within 32 bits (serial::DecimalValue), or "$" and up to eight significant hex digits.
// Nothing may follow.
// On failure value is left as it was.
bool CellToInt(const std::string& text, std::int32_t& value);

// The message number a message row sends: its cell converted, or 201 when it does not convert.
constexpr std::int32_t kUnreadableMessageNumber = 201;
std::int32_t MessageNumberOf(const std::string& cell);

constexpr int kNameLineLength = 28;
constexpr int kMessageLineLength = 50;

// A PLU name line as it goes out: trailing spaces trimmed, centred under 27 characters,
// a 27-character text closed by 0x00, a longer one cut to 28. Still in code page 1251.
std::string PrepareNameLine(const std::string& cell);
// A message line as it goes out: cut or padded with spaces to 50. Still in code page 1251.
std::string PrepareMessageLine(const std::string& cell);
// A received name line (scale bytes) as cell text: converted, all-spaces empty, trimmed.
std::string DecodeNameLine(const std::string& scaleBytes);

}  // namespace scale
