#pragma once
// The transfer log as a service engineer reads it: read-only, newest at the bottom, with a
// button that copies it all, and the reason when the log could not be written.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

class TransferLogView : public QDialog {
    Q_OBJECT

  public:
    explicit TransferLogView(QWidget* parent);
    // Shows the text scrolled to its end; a non-empty failure is said above it.
    void Show(const QString& text, const QString& failure);

  private:
    QPlainTextEdit* text_;
    QLabel* failure_;
};
