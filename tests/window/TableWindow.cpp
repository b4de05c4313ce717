#include "TableWindow.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTest>

#include "CodePage1251.h"
#include "GridModel.h"
#include "GridView.h"

namespace {
QString Joined(const tables::Row& row) {
    QStringList cells;
    for (const std::string& cell : row) cells << tables::DecodeCp1251(cell);
    while (!cells.isEmpty() && cells.back().isEmpty()) cells.removeLast();
    return cells.join('|');
}
}  // namespace

TableWindow::TableWindow() {
    h.ConfirmPort();
    h.form->show();
}

void TableWindow::Run(const char* name) const {
    if (h.Find<QPushButton>(name))
        h.Click(name);
    else
        h.Trigger(name);
}

std::vector<QString> TableWindow::Rows() const {
    std::vector<QString> rows;
    for (int r = 1; r < h.form->ForTests().Grid().RowCount(); ++r)
        rows.push_back(Joined(h.form->ForTests().Grid().RowAt(r)));
    return rows;
}

QString TableWindow::Titles() const {
    return Joined(h.form->ForTests().Grid().RowAt(0));
}

void TableWindow::SetRows(const std::vector<QString>& rows) const {
    h.Model().Replace([&rows](tables::Table& table) {
        table.SetRowCount(1 + static_cast<int>(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split('|');
            ASSERT_LE(cells.size(), tables::kColumns) << rows[r].toStdString();
            tables::Row row;
            for (int c = 0; c < cells.size(); ++c) row[c] = tables::EncodeCp1251(cells[c]);
            table.SetRow(static_cast<int>(r) + 1, row);
        }
    });
}

void TableWindow::Focus(int col, int row) const {
    GridView* grid = h.Find<GridView>("StringGrid1");
    grid->setCurrentIndex(grid->model()->index(row - 1, col));
}

QLineEdit* TableWindow::Editor() const {
    for (auto* editor : h.Find<GridView>("StringGrid1")->viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible()) return editor;
    }
    ADD_FAILURE() << "no cell editor open";
    return nullptr;
}

void TableWindow::Type(const QString& text) const {
    QLineEdit* editor = Editor();
    if (!editor) return;
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(editor, &press);
    }
}

void TableWindow::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    QLineEdit* editor = Editor();
    if (!editor) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(editor, &press);
}

bool TableWindow::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    h.form->activateWindow();
    if (!QTest::qWaitForWindowActive(h.form.get(), 2000)) return false;
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : h.form.get(), key, modifiers);
    return true;
}

void TableWindow::EditCell(int col, int row, const QString& text) const {
    Focus(col, row);
    QLineEdit* editor = Editor();
    if (!editor) return;
    editor->selectAll();
    Press(Qt::Key_Delete);
    Type(text);
}

std::string FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

std::string Cp1251(const QString& text) {
    return tables::EncodeCp1251(text);
}

QString DataPath(const char* name) {
    const QByteArray folder = qgetenv("QVSCALE_TEST_DATA");
    EXPECT_FALSE(folder.isEmpty()) << "QVSCALE_TEST_DATA is not set";
    return QString::fromLocal8Bit(folder) + '/' + QString::fromLatin1(name);
}
