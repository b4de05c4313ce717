#include "PendingReceipts.h"

#include <QDir>
#include <QFile>

#include "AtomicFile.h"
#include "HubAddress.h"

namespace hub {

namespace {

constexpr int kSequenceDigits = 12;

// "000000000007-COM2.plu.json": sequence, port, kind.
bool Parse(const std::string& file, PendingReceipts::Item& item) {
    const std::string tail = ".json";
    if (file.size() < kSequenceDigits + 2 + tail.size() || file[kSequenceDigits] != '-' ||
        file.compare(file.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    for (int i = 0; i < kSequenceDigits; ++i)
        if (file[i] < '0' || file[i] > '9') return false;
    const std::string middle =
        file.substr(kSequenceDigits + 1, file.size() - kSequenceDigits - 1 - tail.size());
    const std::size_t dot = middle.rfind('.');
    if (dot == std::string::npos) return false;
    item.port = middle.substr(0, dot);
    item.kind = middle.substr(dot + 1);
    return IsSafeName(item.port) && (item.kind == "plu" || item.kind == "msg");
}

}  // namespace

PendingReceipts::PendingReceipts(const std::string& folder) : dir_(folder + "/pending") {}

std::vector<PendingReceipts::Item> PendingReceipts::Items() const {
    std::vector<Item> items;
    const QStringList names = QDir(Q(dir_)).entryList({"*.json"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        Item item;
        item.file = name.toStdString();
        if (!Parse(item.file, item)) continue;
        QFile file(Q(dir_ + "/" + item.file));
        if (!file.open(QIODevice::ReadOnly)) continue;
        item.body = file.read(1024 * 1024);
        items.push_back(item);
    }
    return items;
}

bool PendingReceipts::Add(const std::string& port, const std::string& kind, const QByteArray& body,
                          std::string& problem) {
    QDir().mkpath(Q(dir_));
    long long next = 1;
    for (const Item& item : Items())
        next = std::max(next, std::stoll(item.file.substr(0, kSequenceDigits)) + 1);
    std::string sequence = std::to_string(next);
    sequence.insert(0, kSequenceDigits - sequence.size(), '0');
    const QString path = Q(dir_ + "/" + sequence + "-" + port + "." + kind + ".json");
    QString error;
    if (tables::WriteFileWhole(
            path, [&] { return body.toStdString(); }, error))
        return true;
    problem = "Квитанция " + port + "." + kind + " не сохранена: " + error.toStdString();
    return false;
}

void PendingReceipts::Remove(const Item& item) {
    QString ignored;
    tables::RemoveFileDurably(Q(dir_ + "/" + item.file), ignored);
}

}  // namespace hub
