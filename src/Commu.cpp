#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "Com.h"
#include "QtTranslations.h"

namespace {

const char kHelp[] =
    "Использование: qvscale [--help] [--version]\n"
    "\n"
    "Работа с торговыми весами через RS-232: показания весов, списки PLU и сообщений,\n"
    "загрузка списков в весы и приём списка PLU из весов.\n"
    "\n"
    "  -h, --help     эта справка\n"
    "  -v, --version  версия программы\n"
    "\n"
    "Без окна те же обмены делает qvscale-cli.\n";

// Answered before the window's application exists, so they work without a display.
bool AnswerInfoOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return true;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::puts("qvscale " QVSCALE_VERSION);
            return true;
        }
    }
    return false;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/qvscale-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (AnswerInfoOption(argc, argv)) return 0;
    QApplication app(argc, argv);
    // The operator's locale, LANG and LC_ALL as the desktop sets them.
    const std::unique_ptr<QTranslator> qtTexts = QtTranslations(QLocale());
    if (qtTexts) QApplication::installTranslator(qtTexts.get());
    Q_INIT_RESOURCE(window);
    QApplication::setApplicationName(QStringLiteral("qvscale"));
    QApplication::setApplicationVersion(QStringLiteral(QVSCALE_VERSION));
    // The task bar groups the window under its menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qvscale.Qvscale"));
    QApplication::setWindowIcon(AppIcon());
    TForm1 Form1;
    Form1.show();
    return app.exec();
}
