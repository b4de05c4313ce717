#include "Com.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include "EventHooks.h"
#include "GridModel.h"
#include "GridView.h"
#include "ShopScales.h"
#include "ShopTexts.h"
#include "Texts.h"
#include "Widgets.h"

const QString TForm1::kTitle = QStringLiteral("Демо-Программа для работы с весами QV");

TForm1::TForm1(std::unique_ptr<Dialogs> dialogs, std::unique_ptr<serial::SerialPlatform> platform,
               scale::Clock* clock, int byteTimeoutMs)
    : Comm(platform ? std::move(platform) : serial::MakePosixPlatform()),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this, kTitle)),
      clock_(clock ? clock : &scale::SystemClock()),
      byteTimeoutMs_(byteTimeoutMs),
      link_{Comm, *clock_, byteTimeoutMs_} {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setFont(FormFont(QStringLiteral("Arial"), 13));
    setCentralWidget(new QWidget(this));
    BuildMenu();
    BuildMainControls();
    BuildPortGroup();
    BuildGrid();
    BuildGridHelpers();
    BuildDiagnostics();
    ConnectHandlers();
    // The window's own components are configured as the form sets them.
    Comm.XON = 0;
    Comm.XOFF = 0;
    SaveDialog1.fileName = texts::NoName();
    setMinimumSize(kFormWidth, FormHeight());
    resize(kFormWidth, FormHeight());
    PlaceAtScreenCentre();
    FormCreate();
}

TForm1::~TForm1() {
    // Its runs use this window's port, log and dialogs: they end before those go.
    delete shopScales_;
}

void TForm1::PlaceAtScreenCentre() {
    const QScreen* at = screen();
    if (!at) return;
    // move() places the frame, so centre the outer size: the client area plus the title bar.
    const QSize outer = size() + QSize(0, kTitleBarHeight);
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, outer, at->availableGeometry())
             .topLeft());
}

const tables::Table& TForm1::Grid() const {
    return model_->table();
}

void TForm1::ConnectHandlers() {
    // A command from a button or the menu, a handler or a call on the window; refused while a
    // download or upload runs.
    auto command = [this](auto handler) {
        return [this, handler] {
            if (RefusedDuringRun()) {
                QApplication::beep();
                if (shopRunning_) dialogs_->ErrorBox(texts::ShopRunRefusal());
                return;
            }
            std::invoke(handler, this);
        };
    };
    auto onTrigger = [&](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, command(handler));
    };
    onTrigger(logItem_, &TForm1::ShowTransferLog);
    onTrigger(exportCsvItem_, &TForm1::ExportCsv);
    onTrigger(compareItem_, &TForm1::CompareClick);
    onTrigger(sendChangesItem_, &TForm1::SendChangesClick);
    onTrigger(importCsvItem_, [](TForm1* form) { form->ImportList(false); });
    onTrigger(importColumnsItem_, [](TForm1* form) { form->ImportList(true); });
    using Handler = void (TForm1::*)();
    const std::pair<QAction*, Handler> items[] = {
        {PLU1, &TForm1::PLU1Click}, {N2, &TForm1::N2Click},     {N3, &TForm1::N3Click},
        {N4, &TForm1::N4Click},     {N7, &TForm1::N7Click},     {N8, &TForm1::N8Click},
        {N9, &TForm1::N9Click},     {N10, &TForm1::N10Click},   {N12, &TForm1::N12Click},
        {N15, &TForm1::N15Click},   {PLU2, &TForm1::PLU2Click}, {N14, &TForm1::N14Click}};
    for (const auto& [item, handler] : items) onTrigger(item, handler);
    const std::pair<QPushButton*, Handler> buttons[] = {
        {Opret, &TForm1::OpretClick},       {Button12, &TForm1::Button12Click},
        {StartBtn, &TForm1::StartBtnClick}, {Button21, &TForm1::Button21Click},
        {Button22, &TForm1::Button22Click}, {Button18, &TForm1::Button18Click},
        {Button17, &TForm1::Button17Click}, {Button16, &TForm1::Button16Click},
        {Button15, &TForm1::Button15Click}, {Button14, &TForm1::Button14Click},
        {Button13, &TForm1::Button13Click}, {Button19, &TForm1::Button19Click},
        {Button20, &TForm1::Button20Click}, {BSend, &TForm1::BSendClick},
        {BHent, &TForm1::BHentClick},       {Button1, &TForm1::Button1Click},
        {Button2, &TForm1::Button2Click},   {Button3, &TForm1::Button3Click},
        {Button4, &TForm1::Button4Click},   {Button5, &TForm1::Button5Click},
        {Button6, &TForm1::Button6Click},   {Button7, &TForm1::Button7Click},
        {Button8, &TForm1::Button8Click},   {Button9, &TForm1::Button9Click},
        {Button10, &TForm1::Button10Click}, {Button11, &TForm1::Button11Click}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, command(handler));
    // Shown again during its own runs; refused only during a run of this window.
    connect(shopScalesItem_, &QAction::triggered, this, [this] {
        if (runActive_) return QApplication::beep();
        ShowShopScales();
    });
    // Stop must get through while a run is in progress.
    connect(Button24, &QPushButton::clicked, this, &TForm1::Button24Click);
    connect(Button25, &QPushButton::clicked, this, &QWidget::close);
    connect(N5, &QAction::triggered, this, &QWidget::close);

    // The four table menu items follow their buttons.
    const std::pair<QPushButton*, QAction*> rowCommands[] = {
        {Button16, N7}, {Button15, N8}, {Button14, N9}, {Button13, N10}};
    for (const auto& [button, action] : rowCommands) {
        new EventHook(button, QEvent::EnabledChange,
                      [b = button, a = action] { a->setEnabled(b->isEnabled()); });
    }
    new EventHook(Image1, QEvent::MouseButtonRelease, [this] { Image1Click(); });
    new EventHook(Label13, QEvent::MouseButtonRelease, [this] { Image1Click(); });

    auto* diagnostics = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+D")), this);
    connect(diagnostics, &QShortcut::activated, this, &TForm1::ToggleDiagnostics);
}

void TForm1::Image1Click() {
    dialogs_->PlainBox(texts::About());
}

void TForm1::SetTopButtonsEnabled(bool enabled) {
    for (QPushButton* b : {StartBtn, Button12, Button13, Button14, Button15, Button16, Button17,
                           Button18, Button19, Button20})
        b->setEnabled(enabled);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceGrowingControls();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (shopRunning_) {
        // The runs end after their current records; the close check follows their box.
        shopScales_->AskToEnd(this);
        event->ignore();
        return;
    }
    if (runActive_) {
        // Stop the run after its current row; the close check follows when it has ended.
        StopRequested = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    bool CanClose = true;
    FormCloseQuery(CanClose);
    event->setAccepted(CanClose);
}
