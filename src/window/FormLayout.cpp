// The window's controls and menu, at the places and with the captions the operator knows.

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <climits>

#include "Com.h"
#include "FindBar.h"
#include "GridModel.h"
#include "GridView.h"
#include "Widgets.h"

namespace {

// The grid's place in a window of the form's size.
constexpr Place kGridPlace{0, 144, 753, 377};
// Below the lowest diagnostics panel.
constexpr int kBottomMargin = 8;

// A drawn logo: a scale pan over a display, so the program needs no image file.
QPixmap Logo() {
    QPixmap pixmap(65, 73);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 3));
    p.drawLine(12, 20, 53, 20);
    p.drawLine(32, 20, 32, 45);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(10, 45, 45, 20);
    p.setPen(QColor(0, 255, 0));
    p.setFont(QFont(QStringLiteral("Monospace"), 8, QFont::Bold));
    p.drawText(QRect(10, 45, 45, 20), Qt::AlignCenter, QStringLiteral("0,000"));
    return pixmap;
}

}  // namespace

void TForm1::BuildMainControls() {
    QWidget* c = centralWidget();
    Image1 = Placed(new QLabel(c), "Image1", {8, 8, 65, 73});
    Image1->setPixmap(Logo());
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);
    Label13 = MakeLabel(c, "Label13", QStringLiteral("ТУВИЛ"), {8, 80, 61, 20});
    Label13->setFont(LargeFont(true));
    Label13->setStyleSheet(QStringLiteral("color: navy"));
    Label13->setCursor(Qt::PointingHandCursor);

    Button20 = MakeButton(c, "Button20", QStringLiteral("Open"), {88, 8, 49, 25});
    Button19 = MakeButton(c, "Button19", QStringLiteral("Save"), {136, 8, 49, 25});
    Button18 = MakeButton(c, "Button18", QStringLiteral("PLU"), {184, 8, 49, 25});
    Button17 = MakeButton(c, "Button17", QStringLiteral("MSG"), {232, 8, 49, 25});
    Button16 = MakeButton(c, "Button16", QStringLiteral("Add"), {280, 8, 51, 25});
    Button15 = MakeButton(c, "Button15", QStringLiteral("Copy"), {328, 8, 49, 25});
    Button14 = MakeButton(c, "Button14", QStringLiteral("Ins"), {376, 8, 49, 25});
    Button13 = MakeButton(c, "Button13", QStringLiteral("Del"), {424, 8, 49, 25});
    Button12 = MakeButton(c, "Button12", QStringLiteral("COM"), {472, 8, 49, 25});
    Button21 =
        MakeButton(c, "Button21", QStringLiteral("Переслать данные в весы"), {88, 40, 169, 33});
    Button22 = MakeButton(c, "Button22", QStringLiteral("Считать данные PLU из весов"),
                          {264, 40, 193, 33});
    Button25 = MakeButton(c, "Button25", QStringLiteral("Выход"), {464, 40, 73, 33});

    Label14 =
        MakeLabel(c, "Label14", QStringLiteral("Идет пересылка данных на весы"), {96, 80, 198, 16});
    Label14->hide();
    ProgressBar1 = Placed(new QProgressBar(c), "ProgressBar1", {88, 104, 225, 33});
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
    Button24 = MakeButton(c, "Button24", QStringLiteral("Стоп"), {320, 104, 75, 33});
    Button24->hide();
    StartBtn = MakeButton(c, "StartBtn", QStringLiteral("Прочитать"), {608, 104, 89, 33});

    Label9 = MakeLabel(c, "Label9", QStringLiteral("Показания дисплея"), {560, 8, 200, 20});
    Label9->setFont(LargeFont());
    Label10 = MakeLabel(c, "Label10", QStringLiteral("Вес"), {600, 40, 23, 16});
    Label11 = MakeLabel(c, "Label11", QStringLiteral("Цена"), {600, 56, 31, 16});
    Label12 = MakeLabel(c, "Label12", QStringLiteral("Стоимость"), {576, 72, 72, 16});
    // Wider than the form drew them, so long readings are not cut off.
    Summ1 = MakeLabel(c, "Summ1", QStringLiteral("0,000"), {648, 38, 110, 20});
    Last1 = MakeLabel(c, "Last1", QStringLiteral("0,00"), {648, 54, 110, 20});
    Summ2 = MakeLabel(c, "Summ2", QStringLiteral("0,00"), {648, 70, 110, 20});
    for (QLabel* reading : {Summ1, Last1, Summ2}) reading->setFont(LargeFont());
}

void TForm1::BuildPortGroup() {
    GroupBox1 =
        Placed(new QGroupBox(QStringLiteral("Проинициализируйте СОМ - порт"), centralWidget()),
               "GroupBox1", {200, 152, 254, 233});
    GroupBox1->setFont(FormFont(QStringLiteral("Arial"), 15));
    QGroupBox* g = GroupBox1;
    CBPort = MakeList(g, "CBPort", {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"},
                      {15, 57, 99, 25});
    CBBaud = MakeList(g, "CBBaud", {"1200", "2400", "4800", "9600"}, {15, 97, 99, 25});
    CBDataBit = MakeList(g, "CBDataBit", {"4", "5", "6", "7", "8"}, {15, 144, 99, 25});
    CBParitet =
        MakeList(g, "CBParitet", {"No", "Odd", "Even", "Binary 1", "Binary 0"}, {126, 57, 100, 25});
    CBstopbit = MakeList(g, "CBstopbit", {"1", "1,5", "2"}, {134, 97, 100, 25});
    CBFlow = MakeList(g, "CBFlow", {"Hardware", "XON/XOFF"}, {134, 144, 100, 25});
    for (QComboBox* fixed : {CBBaud, CBDataBit, CBParitet, CBstopbit, CBFlow})
        fixed->setEnabled(false);
    MakeLabel(g, "Label1", QStringLiteral("Port"), {15, 42, 60, 15});
    MakeLabel(g, "Label2", QStringLiteral("Baud"), {15, 82, 60, 15});
    MakeLabel(g, "Label3", QStringLiteral("DataBit"), {20, 130, 60, 15});
    MakeLabel(g, "Label4", QStringLiteral("Parity"), {126, 42, 60, 15});
    MakeLabel(g, "Label5", QStringLiteral("Stopbit"), {134, 82, 60, 15});
    MakeLabel(g, "Label6", QStringLiteral("Flow control"), {134, 130, 90, 15});
    MakeLabel(g, "Label7", QStringLiteral("XON"), {6, 178, 40, 15})->hide();
    MakeLabel(g, "Label8", QStringLiteral("XOFF"), {47, 178, 40, 15})->hide();
    Xon = Placed(new QLineEdit(QStringLiteral("5"), g), "Xon", {6, 200, 41, 25});
    Xoff = Placed(new QLineEdit(QStringLiteral("7"), g), "Xoff", {47, 200, 41, 25});
    Xon->hide();
    Xoff->hide();
    Opret = MakeButton(g, "Opret", QStringLiteral("OK"), {154, 190, 81, 35});
    Opret->setFont(LargeFont());
}

void TForm1::BuildGrid() {
    model_ = new GridModel(this);
    StringGrid1 = Placed(new GridView(centralWidget()), "StringGrid1", kGridPlace);
    StringGrid1->setGridModel(model_);
    StringGrid1->setFont(FormFont(QStringLiteral("Comic Sans MS"), 15, true));
    StringGrid1->SetDefaultColumnWidths();
    StringGrid1->onEditText = [this](int col, int row, const QString& text) {
        StringGrid1SetEditText(col, row, text);
    };
    // A row or column moved by the operator is an edit the close must not forget.
    StringGrid1->onRearranged = [this] { TableModified = true; };
    StringGrid1->hide();
}

void TForm1::BuildMenu() {
    QMenuBar* bar = Named(menuBar(), QStringLiteral("MainMenu1"));
    auto menu = [bar](const char* name, const QString& caption) {
        return Named(bar->addMenu(caption), QString::fromLatin1(name));
    };
    auto item = [](QMenu* m, const char* name, const QString& caption) {
        return Named(m->addAction(caption), QString::fromLatin1(name));
    };
    N1 = menu("N1", QStringLiteral("Файл"));
    PLU1 = item(N1, "PLU1", QStringLiteral("Новый PLU"));
    N2 = item(N1, "N2", QStringLiteral("Новый MSG"));
    N3 = item(N1, "N3", QStringLiteral("Открыть"));
    N4 = item(N1, "N4", QStringLiteral("Сохранить как..."));
    importCsvItem_ = item(N1, "ImportCsvItem", QStringLiteral("Импорт..."));
    importColumnsItem_ =
        item(N1, "ImportColumnsItem", QStringLiteral("Импорт с выбором столбцов..."));
    exportCsvItem_ = item(N1, "ExportCsvItem", QStringLiteral("Экспорт..."));
    N5 = item(N1, "N5", QStringLiteral("Выход"));
    N6 = menu("N6", QStringLiteral("Таблица"));
    N7 = item(N6, "N7", QStringLiteral("Добавить строку"));
    N8 = item(N6, "N8", QStringLiteral("Копировать строку"));
    N9 = item(N6, "N9", QStringLiteral("Вставить строку"));
    N10 = item(N6, "N10", QStringLiteral("Удалить строку"));
    findItem_ = item(N6, "FindItem", QStringLiteral("Найти..."));
    findItem_->setShortcut(QKeySequence::Find);
    findItem_->setShortcutContext(Qt::WindowShortcut);
    N11 = menu("N11", QStringLiteral("Сервис"));
    N12 = item(N11, "N12", QStringLiteral("Прочитать показания дисплея"));
    N15 = item(N11, "N15", QStringLiteral("Загрузить весы"));
    PLU2 = item(N11, "PLU2", QStringLiteral("Считать данные PLU из весов"));
    compareItem_ = item(N11, "CompareItem", QStringLiteral("Сверить с весами"));
    sendChangesItem_ = item(N11, "SendChangesItem", QStringLiteral("Переслать изменения"));
    logItem_ = item(N11, "TransferLogItem", QStringLiteral("Журнал обмена"));
    shopScalesItem_ = item(N11, "ShopScalesItem", QStringLiteral("Весы магазина..."));
    N13 = menu("N13", QStringLiteral("Порт"));
    N14 = item(N13, "N14", QStringLiteral("Настроить"));
    for (QAction* a : {N7, N8, N9, N10}) a->setEnabled(false);
}

void TForm1::BuildDiagnostics() {
    QWidget* c = centralWidget();
    GroupBox2 =
        Placed(new QGroupBox(QStringLiteral("Messages"), c), "GroupBox2", {4, 448, 267, 178});
    Edit1 = Placed(new QLineEdit(GroupBox2), "Edit1", {20, 25, 208, 24});
    BeskedBox = Placed(new QPlainTextEdit(GroupBox2), "BeskedBox", {20, 59, 227, 100});
    BSend = MakeButton(GroupBox2, "BSend", QStringLiteral("Send message"), {18, 164, 93, 24});
    BHent = MakeButton(GroupBox2, "BHent", QStringLiteral("Get message"), {156, 164, 93, 24});

    GroupBox3 =
        Placed(new QGroupBox(QStringLiteral("EscCodes"), c), "GroupBox3", {554, 491, 208, 127});
    Button1 = MakeButton(GroupBox3, "Button1", QStringLiteral("SET DTR"), {9, 18, 71, 23});
    Button2 = MakeButton(GroupBox3, "Button2", QStringLiteral("SET RTS"), {9, 48, 71, 22});
    Button3 = MakeButton(GroupBox3, "Button3", QStringLiteral("CLR DTR"), {127, 18, 71, 23});
    Button4 = MakeButton(GroupBox3, "Button4", QStringLiteral("CLR RTS"), {127, 48, 71, 22});
    Button5 = MakeButton(GroupBox3, "Button5", QStringLiteral("SET XON"), {9, 78, 71, 22});
    Button6 = MakeButton(GroupBox3, "Button6", QStringLiteral("SET XOFF"), {127, 78, 71, 22});

    GroupBox4 =
        Placed(new QGroupBox(QStringLiteral("CommEvent"), c), "GroupBox4", {404, 560, 267, 61});
    ComboBox1 = MakeList(GroupBox4, "ComboBox1",
                         {"EV_CTS", "EV_DSR", "EV_ERR", "EV_RING", "EV_RLSD"}, {5, 18, 144, 24});
    ComboBox1->setEditable(true);
    // "Get" writes texts that are not event names; they must not join the list.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setEditText(QStringLiteral("EV_CTS"));
    Button8 = MakeButton(GroupBox4, "Button8", QStringLiteral("Get"), {156, 18, 42, 23});
    Button7 = MakeButton(GroupBox4, "Button7", QStringLiteral("Set"), {206, 18, 41, 23});

    Button9 = MakeButton(c, "Button9", QStringLiteral("Save Buffer as file"), {273, 572, 126, 21});

    GroupBox5 =
        Placed(new QGroupBox(QStringLiteral("Get/Send byte"), c), "GroupBox5", {276, 482, 267, 80});
    EByte = Placed(new QLineEdit(QStringLiteral("5"), GroupBox5), "EByte", {10, 23, 90, 24});
    Bytebox = Placed(new QListWidget(GroupBox5), "Bytebox", {108, 20, 149, 50});
    Button11 = MakeButton(GroupBox5, "Button11", QStringLiteral("Get"), {9, 59, 51, 16});
    Button10 = MakeButton(GroupBox5, "Button10", QStringLiteral("Send"), {58, 59, 52, 16});

    for (QWidget* panel : DiagnosticsPanels()) panel->hide();
}

std::vector<QWidget*> TForm1::DiagnosticsPanels() const {
    return {GroupBox2, GroupBox3, GroupBox4, GroupBox5, Button9};
}

namespace {

// The rows the panels take at their own places, whatever they have been moved by.
struct Band {
    int top = INT_MAX;
    int bottom = 0;
};

Band PanelsBand(const std::vector<QWidget*>& panels, int shift) {
    Band band;
    for (const QWidget* panel : panels) {
        band.top = std::min(band.top, panel->y() - shift);
        band.bottom = std::max(band.bottom, panel->geometry().bottom() + 1 - shift);
    }
    return band;
}

}  // namespace

int TForm1::StatusLineHeight() const {
    return statusLine_ ? statusLine_->sizeHint().height() : 0;
}

int TForm1::FormHeight() const {
    return kFormHeight + StatusLineHeight();
}

int TForm1::PanelsNeedHeight(int panelsBottom) const {
    return menuBar()->sizeHint().height() + panelsBottom + kBottomMargin + StatusLineHeight();
}

void TForm1::PlaceGrowingControls() {
    if (!StringGrid1 || !Button9) return;  // a resize while the form is being built
    const Band band = PanelsBand(DiagnosticsPanels(), panelsShift_);
    // Shown panels keep their places in a window just tall enough for them and follow the
    // bottom edge of a taller one.
    const int needed = PanelsNeedHeight(band.bottom);
    const int shift = diagnosticsShown_ ? std::max(0, height() - needed) : 0;
    for (QWidget* panel : DiagnosticsPanels())
        panel->move(panel->x(), panel->y() - panelsShift_ + shift);
    panelsShift_ = shift;
    const int gridBottom = diagnosticsShown_ ? band.top + shift
                                             : kGridPlace.top + kGridPlace.height +
                                                   std::max(0, height() - FormHeight());
    const int width = kGridPlace.width + std::max(0, this->width() - kFormWidth);
    // The find bar, when shown, takes the grid's bottom.
    const int bar = findBar_ && findBar_->isVisible() ? findBar_->sizeHint().height() : 0;
    StringGrid1->setGeometry(kGridPlace.left, kGridPlace.top, width,
                             gridBottom - kGridPlace.top - bar);
    if (findBar_) findBar_->setGeometry(kGridPlace.left, gridBottom - bar, width, bar);
}

void TForm1::FitWindowToPanels() {
    const Band band = PanelsBand(DiagnosticsPanels(), panelsShift_);
    const int needed = PanelsNeedHeight(band.bottom);
    // A maximised window keeps its size; the grid makes the room.
    const bool sizable = !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    if (diagnosticsShown_) {
        diagnosticsGrowth_ = sizable ? std::max(0, needed - height()) : 0;
        resize(width(), height() + diagnosticsGrowth_);
        setMinimumHeight(std::max(FormHeight(), needed));
    } else {
        setMinimumHeight(FormHeight());
        resize(width(), height() - diagnosticsGrowth_);
        diagnosticsGrowth_ = 0;
    }
    PlaceGrowingControls();
}
