#include "Credentials.h"

#include <sys/stat.h>

#include <QFile>
#include <cstdio>

namespace hub {

Credentials CredentialsOf(const QByteArray& text) {
    QByteArray line = text;
    const int end = line.indexOf('\n');
    if (end >= 0) line.truncate(end);
    line = line.trimmed();
    if (line.contains(':')) return {"Basic " + line.toBase64()};
    return {"Bearer " + line};
}

std::optional<Credentials> ReadCredentials(const std::string& path, std::string& problem) {
    const auto refused = [&](const std::string& why) {
        problem = "Файл учётных данных " + path + why;
        return std::nullopt;
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return refused(" не найден");
    if (st.st_mode & (S_IRGRP | S_IROTH)) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return refused(" могут читать другие пользователи (права " + std::string(mode) +
                       "): он не берётся; chmod 600 " + path);
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return refused(" не открывается");
    const QByteArray text = file.read(64 * 1024);
    if (text.trimmed().isEmpty()) return refused(" пуст: нужна строка имя:пароль или токен");
    return CredentialsOf(text);
}

}  // namespace hub
