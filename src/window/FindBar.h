#pragma once
// The find bar under the grid: a record by its number, or by a part of its name in any letter
// case. Enter and F3 find the next match, Shift+F3 the one before, Escape closes the bar.

#include <QWidget>
#include <functional>

#include "Table.h"

class GridView;
class QLabel;
class QLineEdit;

class FindBar : public QWidget {
  public:
    FindBar(GridView& grid, QWidget* parent);

    // Shows the bar with its text selected, ready to be typed over.
    void Open();
    // The next match from the grid's current row; opens the bar when it has nothing to find.
    void Next(bool forward);

    std::function<tables::ListKind()> listKind;
    // "не найдено", or empty when found: the window's status line repeats it.
    std::function<void(const QString&)> onNote;
    std::function<void()> onClosed;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Close();
    GridView& grid_;
    QLineEdit* text_;
    QLabel* note_;
};
