#include "GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
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
#include "Texts.h"

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
        editor->installEventFilter(view_);
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
        // The cell tells its editor of every typed change: setting the same text again would
        // put the cursor at the end while the operator types in the middle.
        const QString text = index.data(editable ? Qt::EditRole : Qt::DisplayRole).toString();
        if (line->text() != text) line->setText(text);
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
    history_ = std::make_unique<GridHistory>(*model);
    history_->onShown = [this](int col, int row) { GoTo(col, row); };
    model_->onTyped = [this](int col, int row, const std::string& before) {
        history_->Typed(col, row, before);
    };
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
    if (history_) history_->EditorMoved();
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
    history_->Moved(GridHistory::Line::Column, oldVisual, newVisual);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) setColumnWidth(c, widths[c]);
    if (onRearranged) onRearranged();
}

void GridView::OnRowDragged(int, int oldVisual, int newVisual) {
    QHeaderView* header = verticalHeader();
    const QSignalBlocker block(header);
    header->moveSection(newVisual, oldVisual);
    const int height = rowHeight(oldVisual);
    model_->MoveRow(oldVisual + 1, newVisual + 1);
    history_->Moved(GridHistory::Line::Row, oldVisual + 1, newVisual + 1);
    setRowHeight(newVisual, height);
    if (onRearranged) onRearranged();
}

std::optional<tables::CellRange> GridView::SelectedCells() const {
    const QModelIndex current = currentIndex();
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty() || !selection.contains(current)) {
        if (!current.isValid()) return std::nullopt;
        const int row = current.row() + 1;
        return tables::CellRange{current.column(), current.column(), row, row};
    }
    // The selection is contiguous: one rectangle, the one that holds the current cell.
    for (const QItemSelectionRange& range : selection)
        if (range.contains(current))
            return tables::CellRange{range.left(), range.right(), range.top() + 1,
                                     range.bottom() + 1};
    return std::nullopt;
}

bool GridView::ManyCellsSelected() const {
    const auto cells = SelectedCells();
    return cells && (cells->firstCol != cells->lastCol || cells->firstRow != cells->lastRow);
}

void GridView::GoTo(int col, int row) {
    if (model_->rowCount() == 0) return;
    const QModelIndex at = model_->index(std::clamp(row, 1, model_->rowCount()) - 1, col);
    setCurrentIndex(at);
    scrollTo(at);
    model_->Refresh(at);
}

void GridView::ReplaceKeepingCurrentCell(const std::function<void(tables::Table&)>& change) {
    const QModelIndex current = currentIndex();
    model_->Replace(change);
    // The reset forgot the current cell without telling the view, so setting it again is not
    // a move of the editor and marks nothing as changed.
    if (!current.isValid() || model_->rowCount() == 0) return;
    const int row = std::min(current.row(), model_->rowCount() - 1);
    setCurrentIndex(model_->index(row, current.column()));
}

void GridView::CopyCells() {
    const auto cells = SelectedCells();
    if (!cells) return;
    QGuiApplication::clipboard()->setText(
        tables::DecodeCp1251(tables::FormatBlock(model_->table(), *cells)));
}

void GridView::PasteCells() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    const tables::Block block =
        tables::ParseBlock(tables::EncodeCp1251(QGuiApplication::clipboard()->text()));
    if (block.empty()) return;
    tables::Paste paste =
        tables::PasteBlock(model_->table(), current.column(), current.row() + 1, block);
    const int top = paste.edit.first - 1;
    int width = 0;
    for (const auto& cells : block) width = std::max(width, static_cast<int>(cells.size()));
    const int right =
        std::clamp(current.column() + width - 1, current.column(), tables::kColumns - 1);
    const QString note = texts::Pasted(paste.rows, paste.columnsCut, paste.rowsCut);
    if (paste.rows == 0) {  // the list is full: nothing changes, but the note says why
        if (onEdited) onEdited(note);
        return;
    }
    history_->Apply(std::move(paste.edit));
    const QModelIndex topLeft = model_->index(top, current.column());
    setCurrentIndex(topLeft);
    selectionModel()->select(QItemSelection(topLeft, model_->index(top + paste.rows - 1, right)),
                             QItemSelectionModel::ClearAndSelect);
    Edited(note);
}

void GridView::ClearCells() {
    const auto cells = SelectedCells();
    if (!cells) return;
    if (history_->Apply(tables::ClearCells(model_->table(), *cells))) Edited({});
}

void GridView::Edited(const QString& note) {
    // A block's change reaches the open editor only when told cell by cell.
    model_->Refresh(currentIndex());
    if (onEdited) onEdited(note);
}

namespace {

bool Is(const QKeyEvent& key, Qt::Key k, Qt::KeyboardModifiers modifiers) {
    return key.key() == k && (key.modifiers() & ~Qt::KeypadModifier) == modifiers;
}

bool HoldsBlock(const QString& text) {
    return text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\n')) ||
           text.contains(QLatin1Char('\r'));
}

}  // namespace

bool GridView::Refused() const {
    if (!busy || !busy()) return false;
    QApplication::beep();
    return true;
}

bool GridView::TakeKey(const QKeyEvent& key, const QLineEdit* editor) {
    if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
        Is(key, Qt::Key_Y, Qt::ControlModifier) ||
        Is(key, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier)) {
        if (Refused()) return true;
        const bool undo = key.matches(QKeySequence::Undo);
        if (undo ? history_->CanUndo() : history_->CanRedo()) {
            undo ? history_->Undo() : history_->Redo();
            model_->Refresh(currentIndex());
            if (onUndone) onUndone();
        }
        return true;
    }
    if (Is(key, Qt::Key_F3, Qt::NoModifier) || Is(key, Qt::Key_F3, Qt::ShiftModifier)) {
        if (onFindNext) onFindNext(key.modifiers() == Qt::NoModifier);
        return true;
    }
    // In the editor, the editor's own text commands work on its cell; the grid's work on a block.
    const bool block = !editor || ManyCellsSelected();
    if (key.matches(QKeySequence::Copy)) {
        if (!block && editor->hasSelectedText()) return false;
        CopyCells();
        return true;
    }
    if (key.matches(QKeySequence::Paste)) {
        if (!block && !HoldsBlock(QGuiApplication::clipboard()->text())) return false;
        if (!Refused()) PasteCells();
        return true;
    }
    if (Is(key, Qt::Key_Delete, Qt::NoModifier) && block) {
        if (!Refused()) ClearCells();
        return true;
    }
    return false;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (model_ && TakeKey(*event, nullptr)) return event->accept();
    QTableView::keyPressEvent(event);
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && model_) {
        if (const auto* editor = qobject_cast<QLineEdit*>(watched);
            editor && TakeKey(*static_cast<QKeyEvent*>(event), editor))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}
