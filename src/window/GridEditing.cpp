// The grid's spreadsheet keys as the window sees them: the flag of unsaved edits, the find bar
// and the status line.
#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "CellBlocks.h"
#include "Com.h"
#include "FindBar.h"
#include "GridModel.h"
#include "GridView.h"
#include "Texts.h"
#include "Widgets.h"

namespace {
// How long a note stays in the status line.
constexpr int kNoteMs = 8000;
}  // namespace

void TForm1::BuildGridHelpers() {
    statusLine_ = Named(statusBar(), QStringLiteral("StatusLine"));
    gridStatus_ = Named(new QLabel(statusLine_), QStringLiteral("GridStatus"));
    statusLine_->addPermanentWidget(gridStatus_);

    findBar_ = new FindBar(*StringGrid1, centralWidget());
    findBar_->listKind = [this] { return ListKindNow(); };
    findBar_->onNote = [this](const QString& note) {
        if (note.isEmpty()) return statusLine_->clearMessage();
        statusLine_->showMessage(note, kNoteMs);
    };
    findBar_->onClosed = [this] {
        ShowFindBar(false);
        StringGrid1->setFocus();
    };

    StringGrid1->busy = [this] { return RefusedDuringRun(); };
    StringGrid1->onEdited = [this](const QString& note) {
        TableModified = true;
        if (!note.isEmpty()) statusLine_->showMessage(note, kNoteMs);
    };
    // Undoing back to the table as saved or opened leaves nothing to save.
    StringGrid1->onUndone = [this] { TableModified = !StringGrid1->history().IsClean(); };
    connect(findItem_, &QAction::triggered, this, [this] {
        if (!TableExists) return;
        ShowFindBar(true);
        findBar_->Open();
    });
    StringGrid1->onFindNext = [this](bool forward) {
        if (!TableExists) return;
        ShowFindBar(true);
        findBar_->Next(forward);
    };

    const auto show = [this] { ShowGridStatus(); };
    connect(model_, &QAbstractItemModel::modelReset, this, show);
    connect(model_, &QAbstractItemModel::rowsInserted, this, show);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, show);
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this, show);
}

void TForm1::ShowFindBar(bool shown) {
    findBar_->setVisible(shown);
    PlaceGrowingControls();
}

void TForm1::ShowGridStatus() {
    if (!TableExists) return gridStatus_->clear();
    // The records between the titles and the marker row that ends the list.
    const int records = tables::EditableEnd(Grid()) - 1;
    gridStatus_->setText(texts::ListStatus(TableIsPlu, records, StringGrid1->CurrentTableRow()));
}
