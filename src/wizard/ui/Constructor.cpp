#include "wizard/ui/Constructor.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent) {}
