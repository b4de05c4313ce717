#pragma once
// What one invocation of the command line asks for.

#include <QString>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "CsvFile.h"
#include "CsvImport.h"
#include "Link.h"
#include "MyCom.h"
#include "PortName.h"
#include "Table.h"

namespace cli {

struct Settings {
    std::string command;  // its name in the command table
    std::vector<PortName> ports;
    QString file;  // the list to download, or the folder to watch
    std::optional<tables::ListKind> kind;
    QString output;  // upload, convert: the file written, "-" for standard output
    tables::CsvEncoding encoding = tables::CsvEncoding::Utf8;  // of a CSV file written
    bool partial = false;
    bool json = false;
    // download: only the rows that differ from the scale's known contents.
    bool changedOnly = false;
    bool fullIfUnknown = false;  // the whole list when the known contents cannot be trusted
    bool trustKnown = false;     // messages, which the scale cannot send back to be checked
    TBaud baud = b9600;
    // Tests shorten these so a stall and a retry show without waiting.
    int byteTimeoutMs = scale::kByteTimeoutMs;
    std::vector<int> retryDelaysMs = {30'000, 60'000, 120'000, 300'000};
    // The wait before retry number `retry`, from 0; the last one repeats.
    int RetryDelayMs(std::size_t retry) const {
        return retryDelaysMs[std::min(retry, retryDelaysMs.size() - 1)];
    }
    // How a CSV file or a workbook is read: its columns, header row and sheet.
    jobs::ImportOptions import;
    // sync: the hub, the store's name on it, and how to reach it.
    QString hub;
    std::string store;
    double everySeconds = 0;  // 0: one pass
    QString credentialsFile;
    QString caFile;
    bool insecureHttp = false;
    int hubTimeoutMs = 30'000;  // tests shorten it
    // ports: the words after it, such as map COM2 /dev/ttyUSB0.
    std::vector<std::string> operands;
};

}  // namespace cli
