#include "GridView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "CodePage1251.h"
#include "Codec.h"
#include "GridModel.h"
#include "Table.h"

namespace {

// The text as a cell holds it: one line, in code page 1251.
QString HeldByCell(const QString& text) {
    return tables::DecodeCp1251(tables::OneLine(tables::EncodeCp1251(text)));
}

// Hands the editor's text to the cell on every change, after replacing what code page 1251
// cannot hold and line breaks, so the grid shows what the file and the scale will get.
class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(GridView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setMaxLength(GridModel::kEditableCellLength);
        connect(editor, &QLineEdit::textEdited, this, [this, editor, index](const QString& text) {
            const QString held = HeldByCell(text);
            if (held != text) {
                const int cursor = editor->cursorPosition();
                editor->setText(held);
                editor->setCursorPosition(cursor);
            }
            view_->model()->setData(index, held, Qt::EditRole);
            if (view_->onEditText) view_->onEditText(index.column(), index.row() + 1, held);
        });
        return editor;
    }

    // A cell longer than a line editor holds (a file made elsewhere) shows its start and is not
    // edited: the editor would cut it, and a line editor on megabytes takes seconds.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        const bool editable = index.data(GridModel::kEditableRole).toBool();
        line->setReadOnly(!editable);
        line->setText(index.data(editable ? Qt::EditRole : Qt::DisplayRole).toString());
    }

    // Every change the operator makes reaches the cell as it is typed, so closing the editor
    // has nothing to write: a cell changes only when the operator changes it.
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

  private:
    GridView* view_;
};

// The columns of a PLU list that hold the two name lines.
constexpr int kNameColumns[] = {1, 2};
// The record number's column, and its widest number: PLU and message numbers are 16-bit.
constexpr int kNumberColumn = 0;
constexpr int kWidestNumber = std::numeric_limits<std::uint16_t>::max();

// What a name line is written in: Russian and Latin letters and digits.
QString NameLineCharacters() {
    QString all =
        QStringLiteral("ЁёABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    for (char16_t c = u'А'; c <= u'я'; ++c) all += QChar(c);
    return all;
}

// A line of `length` characters taken evenly across the set: capitals, small letters and digits
// in the proportions a name has them. The widest letter 28 times over would make each name
// column wider than the window and push the price out of sight.
QString TypicalLine(const QString& characters, int length) {
    QString line;
    for (int i = 0; i < length; ++i) line += characters[i * characters.size() / length];
    return line;
}

}  // namespace

GridView::GridView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Row numbers give the operator a handle to resize and drag rows by.
    verticalHeader()->setSectionsMovable(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(verticalHeader(), &QHeaderView::sectionMoved, this, &GridView::OnRowDragged);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &GridView::OnColumnDragged);
    // Name columns are wide: scrolling a whole column at a time would jump past them.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setCursor(Qt::PointingHandCursor);
}

void GridView::setGridModel(GridModel* model) {
    model_ = model;
    setModel(model);
}

void GridView::SetDefaultColumnWidths() {
    std::vector<int> widths(tables::kColumns, 0);
    for (const tables::ListKind kind : {tables::ListKind::Plu, tables::ListKind::Msg}) {
        const tables::Row& titles = tables::TitlesOf(kind);
        for (int c = 0; c < tables::kColumns; ++c)
            widths[c] = std::max(widths[c], TitleWidth(tables::DecodeCp1251(titles[c])));
    }
    const QString nameLine = TypicalLine(NameLineCharacters(), scale::kNameLineLength);
    for (const int c : kNameColumns) widths[c] = std::max(widths[c], CellWidth(nameLine));
    widths[kNumberColumn] =
        std::max(widths[kNumberColumn], CellWidth(QString::number(kWidestNumber)));
    for (int c = 0; c < tables::kColumns; ++c) setColumnWidth(c, widths[c]);
}

// As the header sizes a section to its contents, which it measures in bold.
int GridView::TitleWidth(const QString& title) const {
    const QHeaderView* header = horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    QStyleOptionHeader option;
    option.initFrom(header);
    option.fontMetrics = QFontMetrics(bold);
    option.text = title;
    option.textAlignment = header->defaultAlignment();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
}

// As the cells' delegate sizes its text, plus the grid line.
int GridView::CellWidth(const QString& text) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = text;
    const int gridLine = showGrid() ? 1 : 0;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() +
           gridLine;
}

int GridView::CurrentTableRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void GridView::ScrollToTableRow(int row) {
    verticalScrollBar()->setValue(std::max(row - 1, 0));
}

void GridView::ScrollDownOneRow() {
    verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Leaving a cell hands its text over whether or not anything was typed.
    if (previous.isValid() && current.isValid() && previous != current && onEditText)
        onEditText(previous.column(), previous.row() + 1, previous.data(Qt::EditRole).toString());
    QTableView::currentChanged(current, previous);
}

void GridView::OnColumnDragged(int, int oldVisual, int newVisual) {
    // The header only reorders its view; move the cells and the width themselves instead.
    QHeaderView* header = horizontalHeader();
    const QSignalBlocker block(header);
    header->moveSection(newVisual, oldVisual);
    std::vector<int> widths;
    for (int c = 0; c < model_->columnCount(); ++c) widths.push_back(columnWidth(c));
    const int moved = widths[oldVisual];
    widths.erase(widths.begin() + oldVisual);
    widths.insert(widths.begin() + newVisual, moved);
    model_->MoveColumn(oldVisual, newVisual);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) setColumnWidth(c, widths[c]);
    if (onRearranged) onRearranged();
}

void GridView::OnRowDragged(int, int oldVisual, int newVisual) {
    QHeaderView* header = verticalHeader();
    const QSignalBlocker block(header);
    header->moveSection(newVisual, oldVisual);
    const int height = rowHeight(oldVisual);
    model_->MoveRow(oldVisual + 1, newVisual + 1);
    setRowHeight(newVisual, height);
    if (onRearranged) onRearranged();
}
