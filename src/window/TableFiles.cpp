#include "Com.h"

void TForm1::Button19Click() {}
void TForm1::QuickSave() {}
void TForm1::Button20Click() {}
void TForm1::SaveT() {}
void TForm1::FormCloseQuery(bool& CanClose) { CanClose = true; }
bool TForm1::PassSavePrompt(const QString&) { return true; }
bool TForm1::SaveWithDialog() { return false; }
bool TForm1::WriteTable() { return false; }
