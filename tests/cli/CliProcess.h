#pragma once
// qvscale-cli run as a user runs it: a process of its own, its output and its exit code.
// Every wait is bounded, so a test can fail but never hang.

#include <QProcess>
#include <QStringList>
#include <functional>
#include <string>

class CliProcess {
  public:
    // Starts the program with these arguments in the current environment (XDG folders
    // included) and working folder.
    explicit CliProcess(const QStringList& arguments);
    ~CliProcess();

    // False when it did not end within timeoutMs (it is then killed).
    bool Finish(int timeoutMs = 20000);
    void Signal(int signal);
    int ExitCode() const { return process_.exitCode(); }
    // Standard output and standard error, UTF-8, as far as read.
    const std::string& Out();
    const std::string& Err();
    // Waits until standard error holds `text`; false after timeoutMs.
    bool WaitForErr(const std::string& text, int timeoutMs = 10000);
    // Reads the output while waiting for `holds`; false after timeoutMs, or once the program
    // has ended without it.
    bool WaitUntil(const std::function<bool()>& holds, int timeoutMs = 10000);

  private:
    void Drain();
    QProcess process_;
    std::string out_;
    std::string err_;
};

// Runs to its end: exit code, standard output, standard error.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};
CliRun RunCli(const QStringList& arguments, int timeoutMs = 20000);
