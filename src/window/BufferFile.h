#pragma once
// The byte file of "Save Buffer as file": written whole or not at all.

#include <QString>
#include <functional>
#include <string>

// Creates or replaces path with the bytes that takeBytes returns, exactly. takeBytes runs only
// once the file is open, so input that could not be saved anywhere is not taken off the line.
// On failure the earlier file stays whole and cause names the reason in Russian.
bool SaveBytesFile(const QString& path, const std::function<std::string()>& takeBytes,
                   QString& cause);
