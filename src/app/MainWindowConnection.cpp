#include <QApplication>
#include <QLabel>
#include <QThread>

#include "admin/ui/StatePage.h"
#include "app/MainWindow.h"
#include "app/MainWindowFrame.h"
#include "device/ConnectionSettings.h"
#include "device/ConnectionSettingsStore.h"
#include "device/ExchangeLog.h"
#include "device/PortCheck.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "goods/GoodsTable.h"
#include "goods/ui/GoodsPage.h"
#include "shell/UserDialogs.h"

// The main window's connection: the settings dialog and its outcome, the
// check of the settings kept from the last run, the port in the status bar.

using namespace MainWindowFrame;

namespace {

QString SilentPortHint(const QString& portName, const PortCheck& check) {
    const QString what = check.result == PortCheck::Result::NotOpened
                             ? QStringLiteral("Порт %1 не открывается").arg(portName)
                             : QStringLiteral("АС на порту %1 не отвечает").arg(portName);
    return what + QStringLiteral(
                      ". Проверьте кабель и питание АС, затем откройте «Настройки "
                      "подключения» и нажмите «Применить» или «Найти АС».");
}

void LogPortCheck(PortCheck& check) {
    if (!check.asked) return;
    ExchangeLog& log = ProgramExchangeLog();
    if (log.recording()) log.append(std::move(check.record));
    check.asked = false;
}

}  // namespace

void MainWindow::openSettings() {
    // The check of the kept settings ends first: the dialog's own search and
    // "Применить" use the same port.
    finishStartCheck();
    {
        ConnectionSettingsDialog dialog(this);
        dialog.exec();
        if (dialog.applied()) showPort(true);
    }
    AfterSettingsDialog();
}

void MainWindow::AfterSettingsDialog() {
    QThread::msleep(250);
    PortSettings& settings = CurrentPortSettings();
    if (!settings.Applied) return;
    // Another device may be on the line now: no goods record is known to be in
    // step. The same port, speed and factory number keep what is known.
    if (goodsPage_) goodsPage_->table().followConnection(settings);
    if (statePage_) statePage_->clearFields();
    portPanel->setText(QStringLiteral("Порт %1: проверка...").arg(settings.PortName));
    portPanel->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PortCheck check;
    try {
        check = CheckPort(settings);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    LogPortCheck(check);
    if (check.result == PortCheck::Result::Answered) {
        showPort(true);
        EnableDeviceControls(true);
        return;
    }
    if (check.result == PortCheck::Result::NotOpened) {
        QString message = QStringLiteral("Не удалось открыть порт...");
        if (!check.openError.isEmpty()) message += QLatin1Char('\n') + check.openError;
        Dialogs().error(message);
        showPort(false);
        EnableDeviceControls(false);
        return;
    }
    // The port opened and nothing answered: the user chose it, so it stays in
    // force for the files and the wizard, but it never passes for a device.
    Dialogs().warning(
        QStringLiteral("АС на порту %1 не отвечает.\nПроверьте кабель, питание АС, скорость и "
                       "заводской номер или найдите АС кнопкой «Найти АС» в настройках "
                       "подключения.")
            .arg(settings.PortName));
    showPort(true);
    portPanel->setText(FailedPortPanelText(settings.PortName, check));
    EnableDeviceControls(true);
}

void MainWindow::applyKeptSettings() {
    const std::optional<ConnectionFields> kept = StoredConnectionFields();
    if (!kept) return;
    ConnectionFields fields = *kept;
    PortSettings& settings = CurrentPortSettings();
    try {
        ApplyConnectionFields(fields, settings);
        // Nothing is sent from a check that cannot build its request.
        (void)MachineNumberValue(settings.MachineNumber);
    } catch (const ConversionError&) {
        CancelConnectionFields(settings);
        return;
    }
    if (goodsPage_) goodsPage_->table().followConnection(settings);
    portPanel->setText(QStringLiteral("Порт %1: проверка...").arg(settings.PortName));
    speedPanel->setText(SpeedPanelText(settings));
    const PortSettings asked = settings;
    if (ServedByRegisteredLink(asked.PortName)) {
        // The program's own link answers at once, in this thread.
        startCheckResult_ = CheckPort(asked);
        startCheckPending_ = true;
        finishStartCheck();
        return;
    }
    // A port with nothing behind it keeps the check for the whole time-out:
    // the window is shown and answers meanwhile.
    startCheckPending_ = true;
    startCheck_ = QThread::create([this, asked] {
        try {
            startCheckResult_ = CheckPort(asked);
        } catch (...) {
            startCheckResult_ = PortCheck{};
        }
    });
    connect(startCheck_, &QThread::finished, this, [this] { finishStartCheck(); });
    connect(startCheck_, &QThread::finished, startCheck_, &QObject::deleteLater);
    startCheck_->start();
}

void MainWindow::finishStartCheck() {
    if (!startCheckPending_) return;
    if (startCheck_) {
        // Also from its own finished signal, which comes just before the thread ends.
        startCheck_->wait();
        startCheck_ = nullptr;
    }
    startCheckPending_ = false;
    LogPortCheck(startCheckResult_);
    const PortSettings& settings = CurrentPortSettings();
    if (startCheckResult_.result == PortCheck::Result::Answered) {
        showPort(true);
        EnableDeviceControls(true);
    } else {
        // No box at start: the status bar and the empty page say it.
        const QString portName = settings.PortName;
        CancelConnectionFields(CurrentPortSettings());
        showPort(false);
        portPanel->setText(FailedPortPanelText(portName, startCheckResult_));
        portPanel->setToolTip(startCheckResult_.openError);
        EnableDeviceControls(false);
        startHint->setText(SilentPortHint(portName, startCheckResult_));
    }
    emit startCheckFinished();
}

void MainWindow::showPort(bool applied) {
    const PortSettings& settings = CurrentPortSettings();
    portPanel->setToolTip(QString());
    const bool emulator = applied && settings.PortName == EmulatorPortName();
    portPanel->setText(applied ? PortPanelText(settings) : PortPanelResetText());
    speedPanel->setText(applied ? SpeedPanelText(settings) : SpeedPanelResetText());
    portPanel->setStyleSheet(
        emulator ? QStringLiteral("QLabel { color: #c00000; font-weight: bold; }") : QString());
    setWindowTitle(emulator ? QStringLiteral("Zelvo — ") + EmulatorPortName() : ProgramTitle());
}
