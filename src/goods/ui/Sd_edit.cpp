#include "goods/ui/Sd_edit.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : QDialog(parent) {}
