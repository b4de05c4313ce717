#pragma once
// The grid's undo stack. Every change of the table the operator makes (typing, paste, clear, the
// row commands, a dragged row or column) is one step; undo and redo put one band of rows in
// place of the other, or move a dragged row or column back.

#include <QUndoStack>
#include <functional>
#include <string>

#include "RowsEdit.h"

class GridModel;

class GridHistory {
  public:
    explicit GridHistory(GridModel& model) : model_(model) { stack_.setUndoLimit(kSteps); }

    // A new list, an open, an import or an upload: nothing before it can be undone. An uploaded
    // list is in no file, so undoing back to it must leave something to save.
    void Fresh(bool saved = true) {
        stack_.clear();
        if (!saved) stack_.resetClean();
    }
    // The table is as saved: undoing back to here leaves nothing to save.
    void Saved() { stack_.setClean(); }
    bool IsClean() const { return stack_.isClean(); }
    bool CanUndo() const { return stack_.canUndo(); }
    bool CanRedo() const { return stack_.canRedo(); }
    void Undo() { stack_.undo(); }
    void Redo() { stack_.redo(); }

    // An edit the stack applies now; false when it changes nothing.
    bool Apply(tables::RowsEdit edit);
    // A change the caller makes to the model, recorded from the table before and after it.
    void Record(const std::function<void()>& change);
    // A row or column the model has moved by a drag: undone by moving it back, so the step
    // holds no rows however long the list.
    enum class Line { Row, Column };
    void Moved(Line line, int from, int to);
    // The model already holds the typed text; the steps of one cell's typing merge into one,
    // until the editor moves.
    void Typed(int col, int row, const std::string& before);
    void EditorMoved() { ++typingRun_; }

    // Where an undone or redone change took place: (column, table row).
    std::function<void(int, int)> onShown;

  private:
    // Enough for a day's work; each step keeps only the rows it changed.
    static constexpr int kSteps = 1000;
    class Step;
    class MoveStep;
    GridModel& model_;
    QUndoStack stack_;
    int typingRun_ = 0;
};
