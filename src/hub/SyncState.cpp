#include "SyncState.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "AtomicFile.h"
#include "HubAddress.h"
#include "Runs.h"

namespace hub {

namespace {

QString StateFile(const std::string& folder) {
    return Q(folder + "/state.json");
}

}  // namespace

QString Sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

SyncState::SyncState(const std::string& store) : folder_(jobs::StateFolder() + "/hub/" + store) {}

void SyncState::Load() {
    lists_.clear();
    attempts_.clear();
    QFile file(StateFile(folder_));
    if (!file.open(QIODevice::ReadOnly)) return;
    const QJsonObject state = QJsonDocument::fromJson(file.read(1024 * 1024)).object();
    const QJsonObject lists = state["lists"].toObject();
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        const QJsonObject l = it.value().toObject();
        if (!IsSafeName(it.key().toStdString())) continue;
        lists_[it.key().toStdString()] = {l["etag"].toString(), l["sha256"].toString(),
                                          l["kind"].toString().toStdString()};
    }
    const QJsonObject attempts = state["attempts"].toObject();
    for (auto it = attempts.begin(); it != attempts.end(); ++it) {
        const QJsonObject a = it.value().toObject();
        const auto outcome = OutcomeNamed(a["outcome"].toString());
        if (!outcome) continue;
        attempts_[it.key().toStdString()] = {a["list"].toString().toStdString(),
                                             a["sha256"].toString(), *outcome};
    }
}

bool SyncState::Save(std::string& problem) const {
    QJsonObject lists;
    for (const auto& [name, l] : lists_)
        lists.insert(Q(name),
                     QJsonObject{{"etag", l.etag}, {"sha256", l.sha256}, {"kind", Q(l.kind)}});
    QJsonObject attempts;
    for (const auto& [key, a] : attempts_)
        attempts.insert(Q(key), QJsonObject{{"list", Q(a.list)},
                                            {"sha256", a.sha256},
                                            {"outcome", OutcomeName(a.outcome)}});
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{"lists", lists}, {"attempts", attempts}}).toJson();
    QDir().mkpath(Q(folder_));
    QString error;
    if (tables::WriteFileWhole(
            StateFile(folder_), [&] { return bytes.toStdString(); }, error))
        return true;
    problem = "Состояние обмена с хабом не записано: " + error.toStdString();
    return false;
}

QString SyncState::CopyOf(const std::string& name) const {
    return Q(folder_ + "/lists/" + name);
}

std::optional<SyncState::CachedList> SyncState::List(const std::string& name) const {
    const auto it = lists_.find(name);
    if (it == lists_.end() || !QFileInfo::exists(CopyOf(name))) return std::nullopt;
    return it->second;
}

bool SyncState::KeepList(const std::string& name, const QString& etag, const QByteArray& bytes,
                         std::string& problem) {
    if (!IsSafeName(name)) {
        problem = "Имя списка " + name + " не годится";
        return false;
    }
    QDir().mkpath(Q(folder_ + "/lists"));
    QString error;
    if (!tables::WriteFileWhole(
            CopyOf(name), [&] { return bytes.toStdString(); }, error)) {
        problem = "Список " + name + " не записан в " + folder_ + ": " + error.toStdString();
        return false;
    }
    lists_[name] = {etag, Sha256(bytes), {}};
    return true;
}

void SyncState::SetKind(const std::string& name, const std::string& kind) {
    lists_[name].kind = kind;
}

void SyncState::ForgetList(const std::string& name) {
    lists_.erase(name);
    if (IsSafeName(name)) QFile::remove(CopyOf(name));
}

std::optional<SyncState::Attempt> SyncState::LastAttempt(const std::string& port,
                                                         const std::string& kind) const {
    const auto it = attempts_.find(port + "." + kind);
    if (it == attempts_.end()) return std::nullopt;
    return it->second;
}

void SyncState::Record(const std::string& port, const std::string& kind, const Attempt& attempt) {
    attempts_[port + "." + kind] = attempt;
}

}  // namespace hub
