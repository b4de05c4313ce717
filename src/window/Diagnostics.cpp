// The line-test panels: they drive the port directly, without the scale's protocol, and do
// nothing until the port has been configured.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AtomicFile.h"
#include "CodePage1251.h"
#include "Com.h"
#include "LineTest.h"
#include "Texts.h"

void TForm1::Escape(serial::EscapeCode code) {
    if (PortConfigured) Comm.SetEscCode(code);
}

void TForm1::ToggleDiagnostics() {
    diagnosticsShown_ = !diagnosticsShown_;
    for (QWidget* panel : DiagnosticsPanels()) panel->setVisible(diagnosticsShown_);
    FitWindowToPanels();
}

void TForm1::BSendClick() {
    if (!PortConfigured) return;
    Comm.SendString(tables::EncodeCp1251(Edit1->text()));
}

void TForm1::BHentClick() {
    if (!PortConfigured) return;
    const std::int32_t waiting = Comm.InQue();
    if (waiting <= 0) return;
    std::string text;
    Comm.GetString(waiting, text);
    BeskedBox->appendPlainText(tables::DecodeCp1251(text));
}

void TForm1::Button7Click() {
    if (!PortConfigured) return;
    if (const auto mask = serial::EventMaskOf(ComboBox1->currentText().toStdString()))
        Comm.SetEvent(*mask);
}

void TForm1::Button8Click() {
    ComboBox1->setEditText(QString());
    if (!PortConfigured) return;
    std::int32_t mask = 0;
    Comm.GetEvent(mask);
    ComboBox1->setEditText(QString::fromStdString(serial::EventMaskText(mask)));
}

void TForm1::Button9Click() {
    if (!PortConfigured || Comm.InQue() <= 0) return;
    const std::optional<QString> path = dialogs_->SaveFile(SaveDialog1);
    if (!path) return;
    SaveDialog1.fileName = *path;
    const auto takeWaiting = [this] {
        std::string bytes;
        Comm.GetString(Comm.InQue(), bytes);
        return bytes;
    };
    QString cause;
    if (!tables::WriteFileWhole(*path, takeWaiting, cause))
        dialogs_->ErrorBox(texts::SaveFailed(*path, cause));
}

void TForm1::Button10Click() {
    if (!PortConfigured) return;
    const std::string text = EByte->text().toStdString();
    if (const auto value = serial::DecimalValue(text))
        Comm.SendByte(static_cast<std::uint8_t>(*value));  // the low 8 bits
    else
        dialogs_->ErrorBox(QString::fromStdString(serial::NotAnIntegerMessage(text)));
}

void TForm1::Button11Click() {
    if (!PortConfigured || Comm.InQue() <= 0) return;
    Bytebox->addItem(QString::number(Comm.GetByte()));
}
