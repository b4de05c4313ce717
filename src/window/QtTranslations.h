#pragma once
// Qt's own texts (the standard box buttons, the file dialogs) in the operator's language. The
// window's own texts are Russian already and never go through a translator.

#include <QLocale>
#include <QTranslator>
#include <memory>

// Loaded from the system's translations folder; null in the C locale, or when no translation
// of Qt's for the language is installed, and Qt then keeps its English.
std::unique_ptr<QTranslator> QtTranslations(const QLocale& locale);
