#include "RememberedColumns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "AtomicFile.h"
#include "CodePage1251.h"
#include "PortMap.h"

namespace jobs {
namespace {

const char* const kTitle = "title=";
const char* const kColumns = "columns=";

// The titles as they are compared, up to the last one with something in it.
std::vector<QString> TitleKeys(const std::vector<std::string>& header) {
    std::vector<QString> keys;
    for (const std::string& cell : header)
        keys.push_back(tables::TitleKey(tables::DecodeCp1251(cell)));
    while (!keys.empty() && keys.back().isEmpty()) keys.pop_back();
    return keys;
}

std::string FileText(const std::vector<std::string>& header, const tables::ColumnChoice& choice) {
    std::string text = "# qvscale: столбцы, выбранные для файлов с этим заголовком\n";
    const std::size_t titles = TitleKeys(header).size();
    for (std::size_t i = 0; i < titles; ++i) text += kTitle + tables::Utf8Title(header[i]) + "\n";
    return text + kColumns + tables::ColumnChoiceText(choice) + "\n";
}

}  // namespace

QString RememberedColumnsDir() {
    return QString::fromStdString(serial::ConfigDir()) + QStringLiteral("/imports");
}

QString RememberedColumnsFile(const std::vector<std::string>& header) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& key : TitleKeys(header)) hash.addData((key + '\n').toUtf8());
    return RememberedColumnsDir() + '/' + QString::fromLatin1(hash.result().toHex().left(16)) +
           QStringLiteral(".columns");
}

std::optional<tables::ColumnChoice> RememberedChoice(const std::vector<std::string>& header) {
    if (TitleKeys(header).empty()) return std::nullopt;
    QFile file(RememberedColumnsFile(header));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024) return std::nullopt;
    std::vector<QString> titles;
    std::optional<tables::ColumnChoice> choice;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(kTitle)) titles.push_back(tables::TitleKey(line.mid(6)));
        if (!line.startsWith(kColumns)) continue;
        std::string error;
        choice = tables::ParseColumnChoice(line.mid(8).toStdString(), error);
    }
    // Another header that hashes alike is no reason to take its choice.
    if (titles != TitleKeys(header)) return std::nullopt;
    return choice;
}

bool RememberChoice(const std::vector<std::string>& header, const tables::ColumnChoice& choice,
                    QString& error) {
    if (!QDir().mkpath(RememberedColumnsDir())) {
        error = tables::WriteFailureCause(errno, RememberedColumnsDir());
        return false;
    }
    return tables::WriteFileWhole(
        RememberedColumnsFile(header), [&] { return FileText(header, choice); }, error);
}

}  // namespace jobs
