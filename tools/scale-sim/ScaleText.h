#pragma once
// Text between the table files' code page 1251 and the scale's code page 866 positions.
// Only the Cyrillic letters move; every other byte passes unchanged.

#include <cstdint>
#include <string>

#include "Records.h"

namespace sim {

std::uint8_t ToScale(std::uint8_t cp1251);
// 0x00 comes back as a space.
std::uint8_t FromScale(std::uint8_t cp866);

// A name cell as the PC puts it on the line: trailing spaces dropped, centred in 28 positions
// below 27 characters, 27 characters followed by 0x00, longer texts cut to 28.
NameLine NameLineFromText(const std::string& cp1251);
// A stored name line as the PC shows it after an upload: leading and trailing spaces removed.
std::string TextFromNameLine(const NameLine& line);

// A message cell as the PC puts it on the line: cut or padded with spaces to 50.
MessageLine MessageLineFromText(const std::string& cp1251);
// A stored message line with its trailing spaces removed, so that a saved line loads back the same.
std::string TextFromMessageLine(const MessageLine& line);

}  // namespace sim
