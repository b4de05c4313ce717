// The busy state of a transfer and the stop request.

#include <QPushButton>

#include "Com.h"

void TForm1::ButOff() {
    Button24->hide();
    SetTopButtonsEnabled(false);
    for (QPushButton* b : {Button21, Button22, Button25}) b->setEnabled(false);
}

void TForm1::ButOn() {
    Button24->hide();
    SetTopButtonsEnabled(true);
    for (QPushButton* b : {Button21, Button22, Button25}) b->setEnabled(true);
}

void TForm1::Button24Click() {
    StopRequested = true;
}
