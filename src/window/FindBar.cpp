#include "FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "CodePage1251.h"
#include "FindRows.h"
#include "GridModel.h"
#include "GridView.h"
#include "Texts.h"

FindBar::FindBar(GridView& grid, QWidget* parent)
    : QWidget(parent), grid_(grid), text_(new QLineEdit(this)), note_(new QLabel(this)) {
    setObjectName(QStringLiteral("FindBar"));
    text_->setObjectName(QStringLiteral("FindText"));
    note_->setObjectName(QStringLiteral("FindNote"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(new QLabel(texts::FindCaption(), this));
    row->addWidget(text_, 1);
    row->addWidget(note_, 1);
    text_->installEventFilter(this);
    connect(text_, &QLineEdit::textEdited, this, [this] { note_->clear(); });
    hide();
}

void FindBar::Open() {
    show();
    text_->setFocus();
    text_->selectAll();
}

void FindBar::Next(bool forward) {
    if (text_->text().trimmed().isEmpty()) return Open();
    const auto* model = static_cast<const GridModel*>(grid_.model());
    const auto found =
        tables::FindRow(model->table(), listKind ? listKind() : tables::ListKind::Plu,
                        tables::EncodeCp1251(text_->text()), grid_.CurrentTableRow(), forward);
    if (found) grid_.GoTo(found->col, found->row);
    note_->setText(found ? QString() : texts::NotFound());
    if (onNote) onNote(note_->text());
}

void FindBar::Close() {
    hide();
    note_->clear();
    if (onClosed) onClosed();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != text_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            Next(!shift);
            text_->setFocus();  // the grid's editor took it on moving to the match
            return true;
        case Qt::Key_Escape:
            Close();
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}
