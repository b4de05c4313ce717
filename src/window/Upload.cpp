#include "Com.h"

void TForm1::Button22Click() {}
void TForm1::ReadPlu() {}
