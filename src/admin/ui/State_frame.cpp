#include "admin/ui/State_frame.h"

TStateFrame::TStateFrame(QWidget* parent) : QFrame(parent) {}
