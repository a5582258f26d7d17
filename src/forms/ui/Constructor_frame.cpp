#include "forms/ui/Constructor_frame.h"

TFrameConstructor::TFrameConstructor(QWidget* parent) : QFrame(parent) {}
void TFrameConstructor::Fill() {}
void TFrameConstructor::setCurrentGroup(int) {}
