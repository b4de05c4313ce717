#pragma once
// Dialogs for tests: records every box and file dialog, answers from a script.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "Dialogs.h"
#include "ImportChoice.h"

struct ShownBox {
    BoxKind kind;
    QString text;
};

struct ShownFileDialog {
    bool save;  // false: open dialog
    FileDialogRequest request;
};

// A test's answer to the choice of columns, applied in this order.
struct ColumnsAnswer {
    bool ok = true;
    std::optional<tables::CsvEncoding> encoding;
    std::optional<char> delimiter;
    int headerLine = 0;  // the file's line to take as the header; 0 keeps the one offered
    // A header row's title (UTF-8) and what its column is taken as, "" for nothing.
    std::vector<std::pair<std::string, std::string>> targets;
};

// The choice of columns as it was offered, and the preview the answer left.
struct ShownColumnsDialog {
    bool text = false;
    tables::CsvEncoding encoding = tables::CsvEncoding::Utf8;
    char delimiter = ';';
    std::vector<std::vector<std::string>> rows;  // UTF-8
    std::vector<int> lines;
    int headerLine = 0;
    std::vector<std::string> targets;
    bool fromRemembered = false;
    jobs::ImportPreview offered;
    jobs::ImportPreview answered;
};

class ScriptedDialogs : public Dialogs {
  public:
    void ErrorBox(const QString& text) override;
    void PlainBox(const QString& text) override;
    void WarningBox(const QString& text) override;
    Answer SavePrompt(const QString& text) override;
    // Takes its answer from promptAnswers too; Cancel stands for No.
    Answer Question(const QString& text) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<ChosenFile> SaveFileChoosingFilter(const FileDialogRequest& request) override;
    // Records the choice offered and answers from columnsAnswers; with none left, Cancel. A
    // title the header row lacks fails the test.
    bool ChooseColumns(jobs::ImportChoice& choice) override;

    // Answers to give, in order. A prompt with no answer left is answered Cancel; a file dialog
    // with none left is cancelled.
    std::deque<Answer> promptAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    // The filter chosen in each save dialog that asks for one; 0 when none is left.
    std::deque<int> filterAnswers;

    std::vector<ShownBox> boxes;
    std::vector<ShownFileDialog> fileDialogs;
    std::deque<ColumnsAnswer> columnsAnswers;
    std::vector<ShownColumnsDialog> columnsDialogs;

    // Texts of the boxes of one kind, in order.
    std::vector<QString> Texts(BoxKind kind) const;

    // Called at each box, before it returns; a test can look at the window at that moment.
    std::function<void(const ShownBox&)> onBox;
};
