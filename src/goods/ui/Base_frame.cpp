#include "goods/ui/Base_frame.h"

TBaseFrame::TBaseFrame(QWidget* parent) : QFrame(parent) {}
