#pragma once
// Every modal box and file dialog of the window goes through this seam, so tests can answer
// them and read what was shown.

#include <QString>
#include <optional>

enum class BoxKind { Error, Plain, Prompt, Warning, Question };
enum class Answer { Ok, Yes, No, Cancel };

// A file dialog as the window sets it up. filter uses the "description|pattern" form.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString defaultSuffix;
    QString fileName;
};

// A save dialog's path and which of its filters was chosen, 0 first.
struct ChosenFile {
    QString path;
    int filter = 0;
};

namespace jobs {
class ImportChoice;
}

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Error kind: error icon, caption "Error", one OK button.
    virtual void ErrorBox(const QString& text) = 0;
    // The error box when `shown`, which is given back for the command to end on.
    bool ErrorBoxIf(bool shown, const QString& text) {
        if (shown) ErrorBox(text);
        return shown;
    }
    // Plain kind: no icon, captioned with the window's title, one OK button.
    virtual void PlainBox(const QString& text) = 0;
    // Warning kind: warning icon, captioned with the window's title, one OK button.
    virtual void WarningBox(const QString& text) = 0;
    // Plain kind with Yes, No and Cancel. Closing the box counts as Cancel.
    virtual Answer SavePrompt(const QString& text) = 0;
    // Question kind with Yes and No. Closing the box counts as No, and so does a seam that asks
    // nobody: whatever asks must do nothing on No.
    virtual Answer Question(const QString& /*text*/) { return Answer::No; }
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    // A save dialog whose filter choice matters. By default the first filter.
    virtual std::optional<ChosenFile> SaveFileChoosingFilter(const FileDialogRequest& request) {
        const std::optional<QString> path = SaveFile(request);
        if (!path) return std::nullopt;
        return ChosenFile{*path, 0};
    }
    // The columns of a file to import, chosen on the model given: true for OK, false for
    // Cancel, after which the model is thrown away. A seam that asks nobody cancels.
    virtual bool ChooseColumns(jobs::ImportChoice& /*choice*/) { return false; }
};

class QWidget;
// Real dialogs, parented to the window.
class QtDialogs : public Dialogs {
  public:
    QtDialogs(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {}
    void ErrorBox(const QString& text) override;
    void PlainBox(const QString& text) override;
    void WarningBox(const QString& text) override;
    Answer SavePrompt(const QString& text) override;
    Answer Question(const QString& text) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<ChosenFile> SaveFileChoosingFilter(const FileDialogRequest& request) override;
    bool ChooseColumns(jobs::ImportChoice& choice) override;

  private:
    QWidget* parent_;
    QString title_;
};

// "*.plu;*.plw|*.plu;*.plw" as Qt writes a name filter: "*.plu;*.plw (*.plu *.plw)".
QString QtNameFilter(const QString& filter);
