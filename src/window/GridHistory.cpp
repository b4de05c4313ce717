#include "GridHistory.h"

#include <QUndoCommand>
#include <algorithm>
#include <utility>

#include "GridModel.h"

namespace {

// The first column in which the band's first rows differ, so undo shows the cell it changed.
int FirstChangedColumn(const tables::RowsEdit& edit) {
    if (edit.before.empty() || edit.after.empty()) return 0;
    const tables::Row& a = edit.before.front();
    const tables::Row& b = edit.after.front();
    for (int c = 0; c < tables::kColumns; ++c)
        if (a[c] != b[c]) return c;
    return 0;
}

}  // namespace

class GridHistory::Step : public QUndoCommand {
  public:
    // typingRun >= 0 marks a cell's typing, which merges with the next step of the same run.
    Step(GridHistory& history, tables::RowsEdit edit, bool applied, int typingRun = -1)
        : history_(history), edit_(std::move(edit)), skipRedo_(applied), typingRun_(typingRun) {}

    void redo() override {
        if (std::exchange(skipRedo_, false)) return;
        Put(edit_.before.size(), edit_.after);
    }
    void undo() override { Put(edit_.after.size(), edit_.before); }
    int id() const override { return typingRun_ >= 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const Step*>(other);
        if (next->typingRun_ != typingRun_ || next->edit_.first != edit_.first ||
            next->column_ != column_)
            return false;
        edit_.after = next->edit_.after;
        return true;
    }
    void SetColumn(int col) { column_ = col; }

  private:
    void Put(std::size_t count, const std::vector<tables::Row>& rows) {
        const int col = typingRun_ >= 0 ? column_ : FirstChangedColumn(edit_);
        history_.model_.ReplaceRows(edit_.first, static_cast<int>(count), rows);
        if (history_.onShown) history_.onShown(col, std::max(edit_.first, 1));
    }

    GridHistory& history_;
    tables::RowsEdit edit_;
    bool skipRedo_;
    int typingRun_;
    int column_ = 0;
};

class GridHistory::MoveStep : public QUndoCommand {
  public:
    MoveStep(GridHistory& history, Line line, int from, int to)
        : history_(history), line_(line), from_(from), to_(to) {}

    void redo() override {
        if (!std::exchange(skipRedo_, false)) Move(from_, to_);
    }
    void undo() override { Move(to_, from_); }

  private:
    // The move resets the model, so the editor is put on the moved row or column again.
    void Move(int from, int to) {
        GridModel& model = history_.model_;
        line_ == Line::Row ? model.MoveRow(from, to) : model.MoveColumn(from, to);
        if (!history_.onShown) return;
        line_ == Line::Row ? history_.onShown(0, to) : history_.onShown(to, 1);
    }
    GridHistory& history_;
    Line line_;
    int from_;
    int to_;
    bool skipRedo_ = true;  // the drag has moved it
};

void GridHistory::Moved(Line line, int from, int to) {
    if (from != to) stack_.push(new MoveStep(*this, line, from, to));
}

bool GridHistory::Apply(tables::RowsEdit edit) {
    if (edit.ChangesNothing()) return false;
    stack_.push(new Step(*this, std::move(edit), false));
    return true;
}

void GridHistory::Record(const std::function<void()>& change) {
    const tables::Table before = model_.table();
    change();
    tables::RowsEdit edit = tables::DiffRows(before, model_.table());
    if (edit.ChangesNothing()) return;
    stack_.push(new Step(*this, std::move(edit), true));
}

void GridHistory::Typed(int col, int row, const std::string& before) {
    tables::RowsEdit edit{row, {model_.table().RowAt(row)}, {model_.table().RowAt(row)}};
    edit.before.front()[col] = before;
    auto* step = new Step(*this, std::move(edit), true, typingRun_);
    step->SetColumn(col);
    stack_.push(step);
}
