#pragma once

#include <QApplication>

// The application object. An exception that escapes a menu action or button
// handler is shown in an error box with its message, and the program goes on.
class ZelvoApplication : public QApplication {
    Q_OBJECT
public:
    ZelvoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
