#pragma once
// Choices of columns kept for the exports they were made for: a file whose header row has the
// same titles imports tomorrow with no question. One small readable file per header in
// $XDG_CONFIG_HOME/qvscale/imports/, shared by the window and the command line.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "ColumnChoice.h"

namespace jobs {

QString RememberedColumnsDir();
// The file that holds the choice for a header row's cells (code page 1251).
QString RememberedColumnsFile(const std::vector<std::string>& header);

// The choice made for a header like this one; nothing when none was, or when its file is
// damaged or was made for other titles.
std::optional<tables::ColumnChoice> RememberedChoice(const std::vector<std::string>& header);
// Written whole or not at all; error names the cause in a few Russian words.
bool RememberChoice(const std::vector<std::string>& header, const tables::ColumnChoice& choice,
                    QString& error);

}  // namespace jobs
