#include "device/ui/ConnectionSettingsDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "device/ConnectionSettings.h"
#include "device/ConnectionSettingsStore.h"
#include "device/DeviceFinder.h"
#include "device/DeviceLock.h"
#include "device/PortNames.h"
#include "device/ui/ExchangeLogWindow.h"
#include "shell/DeviceOperation.h"
#include "shell/UserDialogs.h"
#include "shell/ui/DigitFilter.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Labels.h"

ConnectionSettingsDialog::ConnectionSettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Настройки подключения...."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(470, 300);

    auto* basic = new QGroupBox(QStringLiteral("Основные"), this);
    basic->setGeometry(8, 6, 454, 128);
    ColouredLabel(QStringLiteral("Выберите COM порт подключения и скорость работы аппарата"), basic)
        ->setGeometry(10, 20, 440, 16);
    auto* portLabel = new QLabel(QStringLiteral("Порт:"), basic);
    portLabel->setGeometry(10, 44, 235, 20);
    portCombo = new QComboBox(basic);
    portCombo->setGeometry(250, 42, 194, 22);
    for (const PortEntry& entry : AvailablePorts()) {
        portCombo->addItem(PortEntryText(entry), entry.name);
        if (entry.present) searchPorts << entry.name;
    }
    portCombo->setCurrentIndex(0);
    // A port on the network (tcp://HOST:PORT, rfc2217://HOST:PORT) is typed.
    portCombo->setEditable(true);
    portCombo->setInsertPolicy(QComboBox::NoInsert);
    // A system's description is longer than the field: the open list shows it whole.
    portCombo->view()->setMinimumWidth(portCombo->view()->sizeHintForColumn(0) + 24);
    connect(portCombo, &QComboBox::currentTextChanged, portCombo, &QWidget::setToolTip);
    auto* speedLabel = new QLabel(QStringLiteral("Скорость:"), basic);
    speedLabel->setGeometry(10, 70, 235, 20);
    speedCombo = new QComboBox(basic);
    speedCombo->setGeometry(250, 68, 194, 22);
    speedCombo->addItems(BaudRateChoices());
    speedCombo->setCurrentIndex(6);
    auto* numberLabel = new QLabel(QStringLiteral("Зав. номер машины:"), basic);
    numberLabel->setGeometry(10, 96, 235, 20);
    machineNumberEdit = new QLineEdit(QStringLiteral("0"), basic);
    machineNumberEdit->setGeometry(250, 94, 194, 22);
    // The record keeps 15 characters; longer input is refused as it is typed.
    machineNumberEdit->setMaxLength(15);

    auto* extra = new QGroupBox(QStringLiteral("Дополнительные"), this);
    extra->setGeometry(8, 140, 454, 114);
    ColouredLabel(QStringLiteral("Установите значение тайм-аутов в мс. Если вы затрудняетесь с "),
                  extra)
        ->setGeometry(10, 20, 440, 16);
    ColouredLabel(QStringLiteral("выбором, оставьте значения по умолчанию."), extra)
        ->setGeometry(10, 36, 440, 16);
    auto* byteLabel = new QLabel(QStringLiteral("Тайм-аут между приемом байт:"), extra);
    byteLabel->setGeometry(10, 58, 235, 20);
    byteTimeoutEdit = new QLineEdit(QStringLiteral("250"), extra);
    byteTimeoutEdit->setGeometry(250, 56, 194, 22);
    auto* totalLabel = new QLabel(QStringLiteral("Общий тайм-аут:"), extra);
    totalLabel->setGeometry(10, 84, 235, 20);
    totalTimeoutEdit = new QLineEdit(QStringLiteral("2500"), extra);
    totalTimeoutEdit->setGeometry(250, 82, 194, 22);
    for (QLineEdit* grey : {byteTimeoutEdit, totalTimeoutEdit})
        grey->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
    for (QLineEdit* field : {machineNumberEdit, byteTimeoutEdit, totalTimeoutEdit})
        InstallDigitFilter(field);

    auto* find = new QPushButton(QStringLiteral("Найти АС"), this);
    find->setGeometry(8, 264, 100, 26);
    connect(find, &QPushButton::clicked, this, Guarded([this] { findDeviceClicked(); }));
    exchangeLogButton = new QPushButton(QStringLiteral("Журнал обмена"), this);
    exchangeLogButton->setGeometry(114, 264, 120, 26);
    exchangeLogButton->setAutoDefault(false);
    connect(exchangeLogButton, &QPushButton::clicked, this,
            Guarded([] { ShowExchangeLogWindow(); }));
    // Modal to the main window only, so that the exchange log opened from here
    // can be read and scrolled beside the dialog.
    setWindowModality(Qt::WindowModal);

    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setGeometry(270, 264, 90, 26);
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { cancelClicked(); }));
    auto* apply = new QPushButton(QStringLiteral("Применить"), this);
    apply->setGeometry(370, 264, 90, 26);
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, Guarded([this] { applyClicked(); }));

    showFields(InitialConnectionFields());
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
}

void ConnectionSettingsDialog::showFields(const ConnectionFields& fields) {
    int port = portCombo->findData(fields.port);
    // A port that is not in the list now (a path typed for the command line,
    // an adapter unplugged since) stays offered under its own name.
    if (port < 0) {
        portCombo->addItem(fields.port, fields.port);
        port = portCombo->count() - 1;
    }
    portCombo->setCurrentIndex(port);
    portCombo->setToolTip(portCombo->currentText());
    const int speed = speedCombo->findText(fields.speed);
    speedCombo->setCurrentIndex(
        speed >= 0 ? speed : speedCombo->findText(QString::number(DefaultBaudRate)));
    machineNumberEdit->setText(fields.machineNumber);
    byteTimeoutEdit->setText(fields.byteTimeout);
    totalTimeoutEdit->setText(fields.totalTimeout);
}

void ConnectionSettingsDialog::applyClicked() {
    ConnectionFields fields{chosenPortName(), speedCombo->currentText(), machineNumberEdit->text(),
                            byteTimeoutEdit->text(), totalTimeoutEdit->text()};
    // The defaults go back into empty fields even when a later step fails.
    struct WriteBack {
        ConnectionFields& f;
        ConnectionSettingsDialog* d;
        ~WriteBack() {
            d->machineNumberEdit->setText(f.machineNumber);
            d->byteTimeoutEdit->setText(f.byteTimeout);
            d->totalTimeoutEdit->setText(f.totalTimeout);
        }
    } writeBack{fields, this};
    ApplyConnectionFields(fields, CurrentPortSettings());
    StoreConnectionFields(fields);
    applied_ = true;
    accept();
}

void ConnectionSettingsDialog::cancelClicked() {
    CancelConnectionFields(CurrentPortSettings());
    applied_ = false;
    QDialog::reject();
}

void ConnectionSettingsDialog::reject() {
    cancelClicked();
}

QString ConnectionSettingsDialog::chosenPortName() const {
    // What the field shows is an item's text ("COM3 — USB-Serial") or a name
    // typed by the user; an item stands for its port's name.
    const QString shown = portCombo->currentText();
    int item = portCombo->currentIndex();
    if (item < 0 || portCombo->itemText(item) != shown) item = portCombo->findText(shown.trimmed());
    if (item < 0) item = portCombo->findData(shown.trimmed());
    if (item >= 0 && portCombo->itemData(item).isValid())
        return portCombo->itemData(item).toString();
    return shown.trimmed();
}

void ConnectionSettingsDialog::findDeviceClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    QByteArray number = machineNumberEdit->text().toLatin1();
    if (number.isEmpty()) number = "0";  // as "Применить" takes an empty field

    QProgressDialog progress(QStringLiteral("Поиск АС..."), QStringLiteral("Стоп"), 0, 1, this);
    progress.setWindowTitle(QStringLiteral("Найти АС"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setMinimumWidth(380);  // the label changes with every probe; the window keeps its size
    progress.setValue(0);
    const DeviceSearchResult result =
        FindDevice(SearchPortsWithSelected(searchPorts, chosenPortName()), number,
                   speedCombo->currentText().toInt(), [&](const DeviceSearchStep& step) {
                       progress.setMaximum(qMax(1, step.total));
                       progress.setLabelText(QStringLiteral("Поиск АС: порт %1, скорость %2...")
                                                 .arg(step.portName)
                                                 .arg(step.baudRate));
                       progress.setValue(step.done);
                       QCoreApplication::processEvents();
                       return !progress.wasCanceled();
                   });
    progress.close();
    if (result.stopped) return;

    // The summary names the ports asked and those that did not open.
    const QString summary = DeviceSearchSummary(result, number);
    if (!result.found) {
        Dialogs().error(summary);
        return;
    }
    int port = portCombo->findData(result.portName);
    if (port < 0) {
        portCombo->addItem(result.portName, result.portName);
        port = portCombo->count() - 1;
    }
    portCombo->setCurrentIndex(port);
    speedCombo->setCurrentText(QString::number(result.baudRate));
    const QString text =
        summary + QStringLiteral("\nПорт и скорость выбраны; нажмите «Применить».");
    if (result.deviceError == 0)
        Dialogs().inform(CaptionProgram(), text, DialogIcon::Information);
    else
        Dialogs().warning(text);
}
