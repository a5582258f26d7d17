#include "admin/ui/Inn.h"

TForm10::TForm10(QWidget* parent) : QDialog(parent) {}
