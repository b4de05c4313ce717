#include "Com.h"

void TForm1::Button18Click() {}
void TForm1::Button17Click() {}
void TForm1::Button16Click() {}
void TForm1::Button15Click() {}
void TForm1::Button14Click() {}
void TForm1::Button13Click() {}
void TForm1::StringGrid1SetEditText(int, int, const QString&) { TableModified = true; }
