// Start-up to a responsive main window: from the first line of main() until
// the splash has closed, the pages exist and the event loop answers again.
// Prints the time beyond the splash's own 1.5 s. Runs on whatever platform Qt
// picks (set QT_QPA_PLATFORM=offscreen or DISPLAY).
//
// With "--kept-silent-port" the run starts as after a run that applied a port
// where nothing answers now (a pseudo-terminal nobody reads): the check of the
// kept settings waits its whole time-out, and the window must answer all the
// same. The time at which the check ended is printed beside.
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/ProgramWindows.h"
#include "device/ConnectionSettings.h"
#include "device/ConnectionSettingsStore.h"
#include "shell/ui/ZelvoApplication.h"
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#endif

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    const bool keptSilent = argc > 1 && std::strcmp(argv[1], "--kept-silent-port") == 0;
    ZelvoApplication app(argc, argv);
    QTemporaryDir settingsDir;
    [[maybe_unused]] int master = -1;
    if (keptSilent) {
#ifdef Q_OS_UNIX
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return 1;
        ConnectionFields fields;
        fields.port = QString::fromLocal8Bit(ptsname(master));
        SetConnectionSettingsStore(std::make_unique<QSettings>(
            settingsDir.filePath(QStringLiteral("kept.ini")), QSettings::IniFormat));
        StoreConnectionFields(fields);
#else
        std::printf("--kept-silent-port needs a pseudo-terminal\n");
        return 1;
#endif
    }
    ProgramWindows windows;
    MainWindow& mainWindow = windows.mainWindow;
    const qint64 constructed = clock.elapsed();
    qint64 started = 0;
    qint64 responsive = 0;
    const auto report = [&](qint64 checkEnded) {
        std::printf("windows created: %lld ms\n", constructed);
        std::printf("splash closed and pages created: %lld ms\n", started);
        std::printf("responsive main window: %lld ms, %lld ms beyond the 1500 ms splash\n",
                    responsive, responsive - 1500);
        if (checkEnded >= 0)
            std::printf(
                "check of the kept port ended: %lld ms (%lld ms after the window answered)\n",
                checkEnded, checkEnded - responsive);
        app.quit();
    };
    qint64 checkEnded = -1;
    QObject::connect(&mainWindow, &MainWindow::startCheckFinished, [&] {
        checkEnded = clock.elapsed();
        if (keptSilent && responsive > 0) report(checkEnded);
    });
    QObject::connect(&mainWindow, &MainWindow::started, [&] {
        started = clock.elapsed();
        // The first turn of the event loop after the pages exist: the window responds.
        QTimer::singleShot(0, [&] {
            responsive = clock.elapsed();
            if (!keptSilent || checkEnded >= 0) report(keptSilent ? checkEnded : -1);
        });
    });
    mainWindow.show();
    const int code = app.exec();
#ifdef Q_OS_UNIX
    if (master >= 0) ::close(master);
#endif
    return code;
}
