// The display readout: the scale's weight, unit price and total in three labels.

#include <QLabel>

#include "Com.h"
#include "DisplayFormat.h"
#include "Runs.h"
#include "Texts.h"

void TForm1::ShowReading(const scale::DisplayReading& reading) {
    Summ1->setText(QString::fromStdString(scale::FormatWeight(reading.weight)));
    Last1->setText(QString::fromStdString(scale::FormatPrice(reading.price)));
    Summ2->setText(QString::fromStdString(scale::FormatTotal(reading.total)));
}

void TForm1::StartBtnClick() {
    if (dialogs_->ErrorBoxIf(!PortConfigured, texts::PortNotSet())) {
        SetTopButtonsEnabled(true);
        return;
    }
    SetTopButtonsEnabled(false);
    const jobs::ReadoutRun run = jobs::RunReadout(link_, Comm.DeviceName());
    // A failed readout shows the zero reading: after the box when the scale refused, before it
    // when it did not answer or fell silent.
    const bool refused = run.outcome == scale::ReadoutOutcome::Refused;
    if (!refused) ShowReading(run.reading);
    if (run.outcome != scale::ReadoutOutcome::Ok) dialogs_->ErrorBox(texts::LinkCheck());
    if (refused) ShowReading(run.reading);
    SetTopButtonsEnabled(true);
}
