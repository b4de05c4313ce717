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
    auto onClick = [&](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, command(handler));
    };
    auto onTrigger = [&](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, command(handler));
    };
    onTrigger(logItem_, &TForm1::ShowTransferLog);
    // Shown again during its own runs; refused only during a run of this window.
    connect(shopScalesItem_, &QAction::triggered, this, [this] {
        if (runActive_) return QApplication::beep();
        ShowShopScales();
    });
    onTrigger(importCsvItem_, [](TForm1* form) { form->ImportList(false); });
    onTrigger(importColumnsItem_, [](TForm1* form) { form->ImportList(true); });
    onTrigger(exportCsvItem_, &TForm1::ExportCsv);
    onTrigger(compareItem_, &TForm1::CompareClick);
    onTrigger(sendChangesItem_, &TForm1::SendChangesClick);
    onClick(Opret, &TForm1::OpretClick);
    onClick(Button12, &TForm1::Button12Click);
    onClick(StartBtn, &TForm1::StartBtnClick);
    onClick(Button21, &TForm1::Button21Click);
    onClick(Button22, &TForm1::Button22Click);
    onClick(Button18, &TForm1::Button18Click);
    onClick(Button17, &TForm1::Button17Click);
    onClick(Button16, &TForm1::Button16Click);
    onClick(Button15, &TForm1::Button15Click);
    onClick(Button14, &TForm1::Button14Click);
    onClick(Button13, &TForm1::Button13Click);
    onClick(Button19, &TForm1::Button19Click);
    onClick(Button20, &TForm1::Button20Click);
    onClick(BSend, &TForm1::BSendClick);
    onClick(BHent, &TForm1::BHentClick);
    onClick(Button1, &TForm1::Button1Click);
    onClick(Button2, &TForm1::Button2Click);
    onClick(Button3, &TForm1::Button3Click);
    onClick(Button4, &TForm1::Button4Click);
    onClick(Button5, &TForm1::Button5Click);
    onClick(Button6, &TForm1::Button6Click);
    onClick(Button7, &TForm1::Button7Click);
    onClick(Button8, &TForm1::Button8Click);
    onClick(Button9, &TForm1::Button9Click);
    onClick(Button10, &TForm1::Button10Click);
    onClick(Button11, &TForm1::Button11Click);
    // Stop must get through while a run is in progress.
    connect(Button24, &QPushButton::clicked, this, &TForm1::Button24Click);
    connect(Button25, &QPushButton::clicked, this, &QWidget::close);
    connect(N5, &QAction::triggered, this, &QWidget::close);

    onTrigger(PLU1, &TForm1::PLU1Click);
    onTrigger(N2, &TForm1::N2Click);
    onTrigger(N3, &TForm1::N3Click);
    onTrigger(N4, &TForm1::N4Click);
    onTrigger(N7, &TForm1::N7Click);
    onTrigger(N8, &TForm1::N8Click);
    onTrigger(N9, &TForm1::N9Click);
    onTrigger(N10, &TForm1::N10Click);
    onTrigger(N12, &TForm1::N12Click);
    onTrigger(N15, &TForm1::N15Click);
    onTrigger(PLU2, &TForm1::PLU2Click);
    onTrigger(N14, &TForm1::N14Click);

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
    if (CanClose)
        event->accept();
    else
        event->ignore();
}
