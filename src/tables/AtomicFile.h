#pragma once
// A file written whole or not at all, with the cause of a failure in the operator's words.

#include <QString>
#include <functional>
#include <string>

namespace tables {

// Creates or replaces path with the bytes takeBytes returns. takeBytes runs only once the file
// is open, so bytes that could be saved nowhere are not taken from where they wait. On failure
// the earlier file stays whole and error names the cause in a few Russian words.
// The operator's words for why a file could not be written, from the errno of the call that
// failed.
QString WriteFailureCause(int error, const QString& path);

bool WriteFileWhole(const QString& path, const std::function<std::string()>& takeBytes,
                    QString& error);

}  // namespace tables
