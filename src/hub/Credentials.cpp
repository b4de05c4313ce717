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
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = "Файл учётных данных " + path + " не найден";
        return std::nullopt;
    }
    if (st.st_mode & (S_IRGRP | S_IROTH)) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        problem = "Файл учётных данных " + path + " могут читать другие пользователи (права " +
                  mode + "): он не берётся; chmod 600 " + path;
        return std::nullopt;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        problem = "Файл учётных данных " + path + " не открывается";
        return std::nullopt;
    }
    const QByteArray text = file.read(64 * 1024);
    if (text.trimmed().isEmpty()) {
        problem = "Файл учётных данных " + path + " пуст: нужна строка имя:пароль или токен";
        return std::nullopt;
    }
    return CredentialsOf(text);
}

}  // namespace hub
