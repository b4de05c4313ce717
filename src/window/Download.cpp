#include "Com.h"

void TForm1::Button21Click() {}
void TForm1::TransmitPlu() {}
void TForm1::TransmitMsg() {}
