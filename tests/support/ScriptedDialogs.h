#pragma once
// Dialogs for tests: records every box and file dialog, answers from a script.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "Dialogs.h"

struct ShownBox {
    BoxKind kind;
    QString text;
};

struct ShownFileDialog {
    bool save;  // false: open dialog
    FileDialogRequest request;
};

class ScriptedDialogs : public Dialogs {
  public:
    void ErrorBox(const QString& text) override;
    void PlainBox(const QString& text) override;
    void WarningBox(const QString& text) override;
    Answer SavePrompt(const QString& text) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<ChosenFile> SaveFileChoosingFilter(const FileDialogRequest& request) override;

    // Answers to give, in order. A prompt with no answer left is answered Cancel; a file dialog
    // with none left is cancelled.
    std::deque<Answer> promptAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    // The filter chosen in each save dialog that asks for one; 0 when none is left.
    std::deque<int> filterAnswers;

    std::vector<ShownBox> boxes;
    std::vector<ShownFileDialog> fileDialogs;

    // Texts of the boxes of one kind, in order.
    std::vector<QString> Texts(BoxKind kind) const;

    // Called at each box, before it returns; a test can look at the window at that moment.
    std::function<void(const ShownBox&)> onBox;
};
