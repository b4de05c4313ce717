#include "QtTranslations.h"

#include <QLibraryInfo>

std::unique_ptr<QTranslator> QtTranslations(const QLocale& locale) {
    if (locale.language() == QLocale::C) return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}
