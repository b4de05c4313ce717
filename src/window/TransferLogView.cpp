#include "TransferLogView.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "Com.h"
#include "Runs.h"

TransferLogView::TransferLogView(QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)), failure_(new QLabel(this)) {
    setObjectName(QStringLiteral("TransferLogView"));
    setWindowTitle(QStringLiteral("Журнал обмена"));
    resize(720, 420);
    text_->setObjectName(QStringLiteral("LogText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    failure_->setObjectName(QStringLiteral("LogFailure"));
    failure_->setWordWrap(true);
    failure_->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* copy = new QPushButton(QStringLiteral("Копировать"), this);
    copy->setObjectName(QStringLiteral("CopyLog"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text_->toPlainText()); });
    auto* closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(failure_);
    layout->addWidget(text_);
    layout->addLayout(buttons);
}

void TransferLogView::Show(const QString& text, const QString& failure) {
    failure_->setText(failure);
    failure_->setVisible(!failure.isEmpty());
    text_->setPlainText(text);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    show();
    raise();
}

void TForm1::ShowTransferLog() {
    if (!logView_) logView_ = new TransferLogView(this);
    std::string failures = jobs::SharedLog().WriteFailure();
    if (!knownFailure_.empty()) failures += (failures.empty() ? "" : "\n") + knownFailure_;
    logView_->Show(QString::fromStdString(jobs::SharedLog().ReadAll()),
                   QString::fromStdString(failures));
}

void TForm1::KeepKnown(const std::string& note) {
    if (!note.empty()) knownFailure_ = note;
}
