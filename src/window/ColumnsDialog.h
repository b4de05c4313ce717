#pragma once
// The import's choice of columns on screen: the file's first rows with a choice above each
// column, the header row, a text file's encoding and delimiter, and the rows as they will be
// read, following every change at once. The decisions are the model's; this only shows them.

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace jobs {
class ImportChoice;
}

class ColumnsDialog : public QDialog {
  public:
    ColumnsDialog(jobs::ImportChoice& choice, QWidget* parent);

  private:
    QComboBox* TextBox(const char* name);
    // After a new encoding or delimiter: other rows, other columns.
    void ShowRows();
    void ShowHeader();
    void ShowPreview();

    jobs::ImportChoice& choice_;
    QComboBox* encoding_ = nullptr;
    QComboBox* delimiter_ = nullptr;
    QComboBox* headerRow_ = nullptr;
    QLabel* origin_ = nullptr;
    QTableWidget* source_ = nullptr;
    QTableWidget* preview_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::vector<QComboBox*> targets_;
};
