// The main window's part in the window of the shop's scales: what it lends that window, and its
// commands refused while that window's runs go on.

#include <QStatusBar>

#include "Com.h"
#include "ShopScales.h"
#include "ShopTexts.h"

void TForm1::ShowShopScales() {
    if (!shopScales_) {
        ShopWindowContext context;
        context.dialogs = dialogs_.get();
        context.comm = &Comm;
        context.ownPort = [this]() -> std::optional<OwnPort> {
            if (!PortOpened) return std::nullopt;
            return OwnPort{Comm.DeviceName(), Comm.OpenError()};
        };
        context.lineSettings = [this](TComm& comm) { ApplyPortSettings(comm); };
        context.clock = clock_;
        context.byteTimeoutMs = byteTimeoutMs_;
        context.list = [this]() -> std::optional<ShopList> {
            if (!TableExists) return std::nullopt;
            return ShopList{Grid(), ListKindNow()};
        };
        context.running = [this](bool running) { ShopRunning(running); };
        context.keepKnown = [this](const std::string& note) { KeepKnown(note); };
        shopScales_ = new ShopScalesWindow(std::move(context), this);
    } else {
        shopScales_->Refresh();
    }
    shopScales_->show();
    shopScales_->raise();
    shopScales_->activateWindow();
}

void TForm1::ShopRunning(bool running) {
    shopRunning_ = running;
    if (running)
        statusLine_->showMessage(texts::ShopRunRefusal().split(QStringLiteral("\r\n")).first());
    else
        statusLine_->clearMessage();
}
