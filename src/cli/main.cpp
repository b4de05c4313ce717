// qvscale-cli: the scale's transfers without a display.

#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>

#include "CommandTable.h"
#include "ExitCode.h"
#include "StopSignal.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qvscale-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QVSCALE_VERSION));
    const cli::Parsed parsed = cli::ParseArguments(QCoreApplication::arguments());
    if (!parsed.settings) {
        std::fputs(parsed.text.c_str(), parsed.exitCode == cli::kDone ? stdout : stderr);
        return parsed.exitCode;
    }
    cli::CatchStopSignals();
    const cli::Settings& s = *parsed.settings;
    cli::Output output(s.json, s.output == QStringLiteral("-"), stdout, stderr,
                       ::isatty(STDERR_FILENO) == 1);
    return parsed.run(s, output);
}
