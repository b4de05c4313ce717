// Choosing and confirming the serial port.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "Com.h"
#include "Decimal.h"
#include "GridView.h"
#include "PortProblemText.h"
#include "PortScan.h"
#include "Texts.h"

namespace {
// Each COM name's tip says where it leads, so the operator can tell the adapter's name apart.
void ShowWhereEachLeads(QComboBox* ports) {
    const serial::DeviceRoots roots = serial::DeviceRootsFromEnvironment();
    for (int i = 0; i < ports->count(); ++i) {
        const serial::ComLead lead = serial::LeadOf(i + 1, roots);
        ports->setItemData(
            i, lead.Present() ? QString::fromStdString(lead.leadsTo) : texts::NoDevice(),
            Qt::ToolTipRole);
    }
}
}  // namespace

void TForm1::FormCreate() {
    SaveDialog1.fileName = texts::NoName();
    LinkAnswered = true;
    TableExists = false;
    TableIsPlu = false;
    TableModified = false;
    PortConfigured = false;
    PortOpened = false;
    for (QPushButton* b : {Button12, Button13, Button14, Button15, Button16, Button17, Button18,
                           Button19, Button20, Button21, Button22})
        b->setEnabled(false);
    CBPort->setCurrentIndex(1);
    ShowWhereEachLeads(CBPort);
    CBFlow->setCurrentIndex(0);
    CBBaud->setCurrentIndex(3);
    CBstopbit->setCurrentIndex(0);
    CBDataBit->setCurrentIndex(4);
    CBParitet->setCurrentIndex(0);
    GroupBox1->show();
}

namespace {
// The low 8 bits of the text read as an integer, as a character; 0 when it is not one. Unlike
// the byte panel, these fields forgive white space of any kind on either side.
char CharOfText(const QString& text) {
    const std::optional<std::int32_t> value = serial::DecimalValue(text.trimmed().toStdString());
    return value ? static_cast<char>(*value & 0xFF) : 0;
}
}  // namespace

void TForm1::ApplyPortSettings(TComm& comm) const {
    comm.Parity = static_cast<tParitet>(CBParitet->currentIndex());
    comm.StopBits = static_cast<tStopBits>(CBstopbit->currentIndex());
    comm.DataBits = static_cast<tDataBit>(CBDataBit->currentIndex() + 4);
    comm.FlowControl = static_cast<tFlowControl>(CBFlow->currentIndex());
    comm.Baud = static_cast<TBaud>(CBBaud->currentIndex() + 2);
    comm.Port = static_cast<tPort>(CBPort->currentIndex());
    comm.XON = CharOfText(Xon->text());
    comm.XOFF = CharOfText(Xoff->text());
}

void TForm1::OpretClick() {
    GroupBox1->setTitle(texts::PortSetUpTitle());
    PortOpened = true;
    PortConfigured = true;
    ApplyPortSettings(Comm);
    Comm.Connect();
    // The settings are taken as before either way; a port that did not open is only said, so
    // that the operator is not later sent to check a cable that is fine.
    if (Comm.OpenError() != 0)
        dialogs_->WarningBox(
            QString::fromStdString(jobs::PortProblemText(Comm.DeviceName(), Comm.OpenError())));
    GroupBox1->hide();
    SetTopButtonsEnabled(true);
    StringGrid1->show();
}

void TForm1::Button12Click() {
    GroupBox1->show();
    StartBtn->setEnabled(false);
    StringGrid1->hide();
}
