#pragma once
// The program's own writes to the grid (new list, Open, row commands). They go through the
// model, so they never count as the operator's edits.

#include <functional>

#include "Table.h"

class GridModel;
class GridView;

// Applies a change to the whole table and puts the current cell back where it was (clamped to
// the rows that remain), so a second Del acts where the first one did and the editor stays open.
void ReplaceKeepingCurrentCell(GridView& grid, GridModel& model,
                               const std::function<void(tables::Table&)>& change);
