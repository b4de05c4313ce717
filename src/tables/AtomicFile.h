#pragma once
// A file written whole or not at all, with the cause of a failure in the operator's words.

#include <QString>
#include <functional>
#include <string>

namespace tables {

// The operator's words for why a file could not be written, from the errno of the call that
// failed.
QString WriteFailureCause(int error, const QString& path);

// Creates or replaces path with the bytes takeBytes returns. takeBytes runs only once the file
// is open, so bytes that could be saved nowhere are not taken from where they wait. On failure
// the earlier file stays whole and error names the cause in a few Russian words. Once it returns
// true, the new file is on the disk under its name: a power cut does not bring the earlier back.
bool WriteFileWhole(const QString& path, const std::function<std::string()>& takeBytes,
                    QString& error);

// Removes path so that a power cut does not bring it back; a path that is not there counts as
// removed. On failure error names the cause.
bool RemoveFileDurably(const QString& path, QString& error);

}  // namespace tables
