#include "TableWrites.h"

#include <algorithm>

#include "GridModel.h"
#include "GridView.h"

void ReplaceKeepingCurrentCell(GridView& grid, GridModel& model,
                               const std::function<void(tables::Table&)>& change) {
    const QModelIndex current = grid.currentIndex();
    model.Replace(change);
    // The reset forgot the current cell without telling the view, so setting it again is not
    // a move of the editor and marks nothing as changed.
    if (!current.isValid() || model.rowCount() == 0) return;
    const int row = std::min(current.row(), model.rowCount() - 1);
    grid.setCurrentIndex(model.index(row, current.column()));
}
