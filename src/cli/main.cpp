// qvscale-cli: the scale's transfers without a display.

#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>

#include "Commands.h"
#include "CompareCommand.h"
#include "ExitCode.h"
#include "Options.h"
#include "PortsCommand.h"
#include "StopSignal.h"
#include "Watch.h"

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
    if (s.command == "display") return cli::RunDisplay(s, output);
    if (s.command == "download") return cli::RunDownload(s, output);
    if (s.command == "watch") return cli::RunWatch(s, output);
    if (s.command == "convert") return cli::RunConvert(s, output);
    if (s.command == "compare") return cli::RunCompare(s, output);
    if (s.command == "ports") return cli::RunPorts(s, output);
    return cli::RunUpload(s, output);
}
