#include "Com.h"

void TForm1::StartBtnClick() {}
