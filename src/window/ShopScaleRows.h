#pragma once
// What the window of the shop's scales lists: each COM name that leads to a device, as the
// command line's port list finds them, and the main window's own port, with what is known of
// each. No widget here.

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ShopScaleRow {
    std::string name;  // "COM3"
    QString device;
    bool own = false;    // the main window's port
    bool opens = false;  // it can be worked now
    QString openText;    // opens, or why not in the words of the port errors
    QString lastRun;
    QString known;
};

// The main window's port as "OK" left it.
struct OwnPort {
    std::string name;
    std::int32_t openError = 0;
};

// COM1..COM8 in order. The own port is listed whatever it leads to and is never tried again,
// since it is held open; every other name that leads to a device is tried as the platform opens
// it.
std::vector<ShopScaleRow> ShopScaleRows(const std::optional<OwnPort>& own);
