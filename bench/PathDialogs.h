#pragma once
// Dialogs for the window's benchmarks: every file dialog answers one path, prompts answer No,
// and a box is kept as the failure it would be to the benchmark.

#include "Dialogs.h"

class PathDialogs : public Dialogs {
  public:
    explicit PathDialogs(QString path) : path_(std::move(path)) {}
    void ErrorBox(const QString& text) override { failure = text; }
    void PlainBox(const QString& text) override { failure = text; }
    void WarningBox(const QString& text) override { failure = text; }
    Answer SavePrompt(const QString&) override { return Answer::No; }
    std::optional<QString> OpenFile(const FileDialogRequest&) override { return path_; }
    std::optional<QString> SaveFile(const FileDialogRequest&) override { return path_; }
    QString failure;

  private:
    QString path_;
};
