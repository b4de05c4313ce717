#include "ColumnsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "CodePage1251.h"
#include "CsvHeader.h"
#include "ImportChoice.h"
#include "ImportTexts.h"
#include "Widgets.h"

namespace {

QTableWidget* MakeTable(QWidget* parent, const char* name) {
    auto* table = Named(new QTableWidget(parent), QString::fromLatin1(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    return table;
}

QTableWidgetItem* Cell(const std::string& cp1251) {
    return new QTableWidgetItem(tables::DecodeCp1251(cp1251));
}

}  // namespace

ColumnsDialog::ColumnsDialog(jobs::ImportChoice& choice, QWidget* parent)
    : QDialog(parent), choice_(choice) {
    setObjectName(QStringLiteral("ColumnsDialog"));
    setWindowTitle(texts::ColumnsDialogTitle());
    resize(900, 640);
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QHBoxLayout;
    layout->addLayout(settings);
    if (choice_.IsText()) {
        settings->addWidget(new QLabel(texts::EncodingLabel(), this));
        encoding_ = TextBox("EncodingBox");
        encoding_->addItem(QStringLiteral("UTF-8"), static_cast<int>(tables::CsvEncoding::Utf8));
        encoding_->addItem(QStringLiteral("Windows-1251"),
                           static_cast<int>(tables::CsvEncoding::Cp1251));
        settings->addWidget(encoding_);
        settings->addWidget(new QLabel(texts::DelimiterLabel(), this));
        delimiter_ = TextBox("DelimiterBox");
        delimiter_->addItem(QStringLiteral(";"), int(';'));
        delimiter_->addItem(QStringLiteral(","), int(','));
        delimiter_->addItem(texts::TabDelimiter(), int('\t'));
        settings->addWidget(delimiter_);
    }
    settings->addWidget(new QLabel(texts::HeaderRowLabel(), this));
    headerRow_ = Named(new QComboBox(this), QStringLiteral("HeaderRowBox"));
    connect(headerRow_, &QComboBox::activated, this, [this](int row) {
        choice_.SetHeaderRow(row);
        ShowHeader();
    });
    settings->addWidget(headerRow_);
    settings->addStretch();
    origin_ = Named(new QLabel(this), QStringLiteral("ChoiceOrigin"));
    layout->addWidget(origin_);
    layout->addWidget(new QLabel(texts::SourceRowsLabel(), this));
    source_ = MakeTable(this, "SourceRows");
    layout->addWidget(source_, 3);
    layout->addWidget(new QLabel(texts::PreviewRowsLabel(), this));
    preview_ = MakeTable(this, "PreviewRows");
    layout->addWidget(preview_, 2);
    problem_ = Named(new QLabel(this), QStringLiteral("ChoiceProblem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->setWordWrap(true);
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    ShowRows();
}

QComboBox* ColumnsDialog::TextBox(const char* name) {
    auto* box = Named(new QComboBox(this), QString::fromLatin1(name));
    connect(box, &QComboBox::activated, this, [this] {
        const auto encoding = static_cast<tables::CsvEncoding>(encoding_->currentData().toInt());
        const char delimiter = static_cast<char>(delimiter_->currentData().toInt());
        if (encoding != choice_.Encoding()) choice_.SetEncoding(encoding);
        if (delimiter != choice_.Delimiter()) choice_.SetDelimiter(delimiter);
        ShowRows();
    });
    return box;
}

void ColumnsDialog::ShowRows() {
    if (encoding_) {
        encoding_->setCurrentIndex(encoding_->findData(static_cast<int>(choice_.Encoding())));
        delimiter_->setCurrentIndex(delimiter_->findData(int(choice_.Delimiter())));
    }
    headerRow_->clear();
    for (const int line : choice_.Lines()) headerRow_->addItem(texts::LineCaption(line));
    const auto& rows = choice_.Rows();
    source_->setRowCount(0);
    source_->setColumnCount(0);
    source_->setRowCount(static_cast<int>(rows.size()) + 1);
    source_->setColumnCount(choice_.ColumnCount());
    QStringList lines{QString()};
    for (const int line : choice_.Lines()) lines << QString::number(line);
    source_->setVerticalHeaderLabels(lines);
    targets_.clear();
    for (int c = 0; c < choice_.ColumnCount(); ++c) {
        auto* box = Named(new QComboBox(source_), QStringLiteral("ColumnTarget%1").arg(c + 1));
        box->addItem(texts::ColumnTargetCaption({}), QString());
        for (const std::string& key : tables::ColumnKeys())
            box->addItem(texts::ColumnTargetCaption(key), QString::fromStdString(key));
        connect(box, &QComboBox::activated, this, [this, box, c] {
            choice_.SetTarget(c, box->currentData().toString().toStdString());
            ShowPreview();
        });
        source_->setCellWidget(0, c, box);
        targets_.push_back(box);
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (static_cast<std::size_t>(c) < rows[r].size())
                source_->setItem(static_cast<int>(r) + 1, c, Cell(rows[r][c]));
    }
    ShowHeader();
}

void ColumnsDialog::ShowHeader() {
    headerRow_->setCurrentIndex(choice_.HeaderRow());
    origin_->setText(choice_.FromRemembered() ? texts::RememberedChoiceNote()
                                              : texts::GuessedChoiceNote());
    for (int r = 1; r < source_->rowCount(); ++r) {
        for (int c = 0; c < source_->columnCount(); ++c) {
            QTableWidgetItem* item = source_->item(r, c);
            if (!item) continue;
            QFont font = item->font();
            font.setBold(r - 1 == choice_.HeaderRow());
            item->setFont(font);
            item->setForeground(r - 1 < choice_.HeaderRow() ? palette().placeholderText()
                                                            : palette().text());
        }
    }
    for (int c = 0; c < static_cast<int>(targets_.size()); ++c) {
        const QSignalBlocker quiet(targets_[c]);
        targets_[c]->setCurrentIndex(
            targets_[c]->findData(QString::fromStdString(choice_.Targets()[c])));
    }
    source_->resizeColumnsToContents();
    // A column as wide as its choice, so every choice reads in full.
    for (int c = 0; c < static_cast<int>(targets_.size()); ++c)
        source_->setColumnWidth(c,
                                std::max(source_->columnWidth(c), targets_[c]->sizeHint().width()));
    ShowPreview();
}

void ColumnsDialog::ShowPreview() {
    const jobs::ImportPreview preview = choice_.Preview();
    preview_->clear();
    problem_->setText(QString::fromStdString(preview.refusal));
    ok_->setEnabled(preview.refusal.empty());
    if (!preview.refusal.empty()) {
        preview_->setRowCount(0);
        preview_->setColumnCount(0);
        return;
    }
    const tables::Row& titles = tables::TitlesOf(preview.kind);
    QStringList header;
    for (const std::string& title : titles) header << tables::DecodeCp1251(title);
    header << texts::ProblemsColumn();
    preview_->setColumnCount(static_cast<int>(header.size()));
    preview_->setHorizontalHeaderLabels(header);
    preview_->setRowCount(static_cast<int>(preview.rows.size()));
    QStringList lines;
    for (int r = 0; r < static_cast<int>(preview.rows.size()); ++r) {
        const jobs::PreviewRow& row = preview.rows[r];
        lines << QString::number(row.line);
        for (int c = 0; c < tables::kColumns; ++c) preview_->setItem(r, c, Cell(row.cells[c]));
        QStringList problems;
        for (const std::string& p : row.problems) problems << QString::fromStdString(p);
        preview_->setItem(r, tables::kColumns, new QTableWidgetItem(problems.join("; ")));
    }
    preview_->setVerticalHeaderLabels(lines);
    preview_->resizeColumnsToContents();
}
