#pragma once
// The download driver's decisions that need no window.

#include <QString>

#include "RowValidation.h"

// The bar's position while row `row` of `rows` is sent: the nearest integer, a tie to the even.
int DownloadProgress(int row, int rows);
// The error box's text for a row that did not pass.
QString RowProblemText(scale::RowProblem problem);
