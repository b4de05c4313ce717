#pragma once
// What a store keeps between passes, under $XDG_STATE_HOME/qvscale/hub/<store>/: the last copy
// of each list the hub gave (lists/<name>, with its ETag, digest and kind in state.json) and
// each scale's last attempt per kind. Every name is checked with IsSafeName before it becomes a
// path; every file is written whole or not at all.

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <string>

#include "Receipt.h"

namespace hub {

class SyncState {
  public:
    explicit SyncState(const std::string& store);
    const std::string& Folder() const { return folder_; }

    // A state that cannot be read counts as empty: the lists are then fetched and loaded again.
    void Load();
    bool Save(std::string& problem) const;

    struct CachedList {
        QString etag;
        QString sha256;
        std::string kind;  // "plu" or "msg"; empty until the list was read
    };
    // Only a list whose copy is still on the disk.
    std::optional<CachedList> List(const std::string& name) const;
    bool KeepList(const std::string& name, const QString& etag, const QByteArray& bytes,
                  std::string& problem);
    void SetKind(const std::string& name, const std::string& kind);
    void ForgetList(const std::string& name);
    QString CopyOf(const std::string& name) const;

    struct Attempt {
        std::string list;  // its name on the hub, in lists/<store>/
        QString sha256;
        Outcome outcome = Outcome::Done;
    };
    std::optional<Attempt> LastAttempt(const std::string& port, const std::string& kind) const;
    void Record(const std::string& port, const std::string& kind, const Attempt& attempt);

  private:
    std::string folder_;
    std::map<std::string, CachedList> lists_;
    std::map<std::string, Attempt> attempts_;  // by "COM2.plu"
};

// The hex SHA-256 of bytes.
QString Sha256(const QByteArray& bytes);

}  // namespace hub
