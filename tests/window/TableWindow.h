#pragma once
// A fresh window with its port confirmed and shown, so the grid's cell editor opens as it does for
// the operator, plus helpers to type into cells and read the grid row by row.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FormHarness.h"

class TableWindow {
  public:
    TableWindow();

    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FormHarness h{std::make_unique<FakePlatform>(line)};
    QTemporaryDir dir;

    // Clicks the button or triggers the menu item of that name.
    void Run(const char* name) const;
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Table rows 1.. as "c0|c1|...|c8" in Unicode, empty cells at the end left out.
    std::vector<QString> Rows() const;
    QString Titles() const;
    // Replaces the table as a program write: titles of the loaded kind kept, then these rows.
    void SetRows(const std::vector<QString>& rows) const;
    // Moves the cell editor to column col of table row row.
    void Focus(int col, int row) const;
    // The open cell editor; fails the test when there is none.
    QLineEdit* Editor() const;
    // Keys to the open editor as the operator types them.
    void Type(const QString& text) const;
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // A key as the keyboard gives it to the active window: its shortcuts first, then the widget
    // with the focus. False when the window could not be made active.
    bool Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // Focuses the cell and replaces its text by typing, as the operator edits.
    void EditCell(int col, int row, const QString& text) const;
};

// A file's bytes; "<missing>" when it cannot be read.
std::string FileBytes(const QString& path);
void WriteBytes(const QString& path, const std::string& bytes);
// A fixture of tests/data.
QString DataPath(const char* name);
// Code page 1251 bytes of a Unicode text.
std::string Cp1251(const QString& text);
