#include <QFileDialog>
#include <QMessageBox>

#include "ColumnsDialog.h"
#include "Dialogs.h"
#include "Texts.h"

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::ErrorBox(const QString& text) {
    QMessageBox::critical(parent_, texts::ErrorCaption(), text);
}

void QtDialogs::WarningBox(const QString& text) {
    QMessageBox::warning(parent_, title_, text);
}

void QtDialogs::PlainBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, text, QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtDialogs::SavePrompt(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

Answer QtDialogs::Question(const QString& text) {
    QMessageBox box(QMessageBox::Question, title_, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

namespace {
// "Книга Excel (*.xlsx)" -> "xlsx": a name typed without one gets the chosen filter's suffix.
QString SuffixOfFilter(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QStringLiteral("(*."));
    if (open < 0 || !filter.endsWith(')')) return {};
    const QString suffix = filter.mid(open + 3, filter.size() - open - 4);
    return suffix.contains(' ') || suffix.contains('*') ? QString() : suffix;
}

std::optional<ChosenFile> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                        QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtNameFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (!request.defaultSuffix.isEmpty()) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
            const QString suffix = SuffixOfFilter(f);
            dialog.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const int filter = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return ChosenFile{dialog.selectedFiles().first(), std::max(filter, 0)};
}

std::optional<QString> PathOf(const std::optional<ChosenFile>& chosen) {
    return chosen ? std::optional<QString>(chosen->path) : std::nullopt;
}
}  // namespace

std::optional<QString> QtDialogs::OpenFile(const FileDialogRequest& request) {
    return PathOf(RunFileDialog(parent_, request, QFileDialog::AcceptOpen));
}

std::optional<QString> QtDialogs::SaveFile(const FileDialogRequest& request) {
    return PathOf(RunFileDialog(parent_, request, QFileDialog::AcceptSave));
}

std::optional<ChosenFile> QtDialogs::SaveFileChoosingFilter(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

bool QtDialogs::ChooseColumns(jobs::ImportChoice& choice) {
    ColumnsDialog dialog(choice, parent_);
    return dialog.exec() == QDialog::Accepted;
}
