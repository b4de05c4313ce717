#include "DownloadSteps.h"

#include <cmath>

#include "Texts.h"

int DownloadProgress(int row, int rows) {
    // nearbyint rounds by the current mode, which is to nearest, ties to even.
    return static_cast<int>(std::nearbyint(row * 100.0 / rows));
}

QString RowProblemText(scale::RowProblem problem) {
    return problem == scale::RowProblem::BadShelfLife ? texts::BadShelfLife() : texts::BadCell();
}
