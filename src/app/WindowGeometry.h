#pragma once

class QWidget;

// The main window's size, position and maximized state, kept between runs in
// the user's settings.
void RestoreWindowGeometry(QWidget* window);
void SaveWindowGeometry(const QWidget* window);
