#include "CliProcess.h"

#include <signal.h>

#include "WaitFor.h"

CliProcess::CliProcess(const QStringList& arguments) {
    process_.start(QStringLiteral(QVSCALE_CLI), arguments);
    process_.waitForStarted(10000);
}

CliProcess::~CliProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(5000);
}

void CliProcess::Drain() {
    out_ += process_.readAllStandardOutput().toStdString();
    err_ += process_.readAllStandardError().toStdString();
}

bool CliProcess::Finish(int timeoutMs) {
    const bool ended = process_.waitForFinished(timeoutMs);
    Drain();
    if (!ended) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    return ended && process_.exitStatus() == QProcess::NormalExit;
}

void CliProcess::Signal(int signal) {
    ::kill(static_cast<pid_t>(process_.processId()), signal);
}

const std::string& CliProcess::Out() {
    Drain();
    return out_;
}

const std::string& CliProcess::Err() {
    Drain();
    return err_;
}

bool CliProcess::WaitForErr(const std::string& text, int timeoutMs) {
    return WaitUntil([&] { return err_.find(text) != std::string::npos; }, timeoutMs);
}

bool CliProcess::WaitUntil(const std::function<bool()>& holds, int timeoutMs) {
    const auto drained = [&] {
        Drain();
        return holds();
    };
    return WaitFor(drained, timeoutMs, [&] {
        if (process_.state() == QProcess::NotRunning) return false;
        process_.waitForReadyRead(50);
        return true;
    });
}

CliRun RunCli(const QStringList& arguments, int timeoutMs) {
    CliProcess process(arguments);
    CliRun run;
    if (process.Finish(timeoutMs)) run.exitCode = process.ExitCode();
    run.out = process.Out();
    run.err = process.Err();
    return run;
}
