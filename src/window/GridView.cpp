#include "GridView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "CodePage1251.h"
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

constexpr int kColumnWidths[] = {37, 92, 89, 89, 87, 89, 87, 85, 86};

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
    setCursor(Qt::PointingHandCursor);
}

void GridView::setGridModel(GridModel* model) {
    model_ = model;
    setModel(model);
    for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c)
        setColumnWidth(c, kColumnWidths[c]);
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
