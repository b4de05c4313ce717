#pragma once
// The options of every command that reads a list: which columns are what, the header row, the
// sheet of a workbook, and keeping the choice for files with the same header.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>
#include <string>

#include "CsvImport.h"

namespace cli {

const QList<QCommandLineOption>& ImportCommandLineOptions();
// The options given into import; a usage error's text when they do not make sense.
std::optional<std::string> ReadImportOptions(const QCommandLineParser& parser,
                                             jobs::ImportOptions& import);
// Their lines in the help of a command that takes them, given the options it takes.
std::string ImportOptionsHelp(const QStringList& taken);

// What a refused header needs the user to say: the header the file seems to have, and the
// --columns that would read it.
std::string ColumnsHint(const jobs::ImportReport& report);

}  // namespace cli
