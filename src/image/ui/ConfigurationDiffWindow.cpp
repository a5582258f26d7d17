#include "image/ui/ConfigurationDiffWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadQuestions.h"
#include "config/UploadSkips.h"
#include "device/DeviceLock.h"
#include "image/WholeConfigurationTransfer.h"
#include "shell/DeviceOperation.h"
#include "shell/UserDialogs.h"

namespace {

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

ConfigurationDiffWindow::ConfigurationDiffWindow(
    const QVector<ConfigurationDifference>& differences, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Сравнение с АС"));
    auto* layout = new QVBoxLayout(this);
    summaryLabel = new QLabel(ComparisonSummary(differences), this);
    layout->addWidget(summaryLabel);
    const auto note = [this, layout](const QString& text) -> QLabel* {
        if (text.isEmpty()) return nullptr;
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    // Said before the click rather than after "Записано удачно...", which
    // these rows would otherwise seem to be part of.
    skippedLabel = note(SkippedDifferencesText(differences));
    inexactLabel = note(InexactDifferencesText(differences));

    table = new QTableWidget(int(differences.size()), 3, this);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Элемент"), QStringLiteral("В АС"), QStringLiteral("В программе")});
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    for (int row = 0; row < differences.size(); ++row) {
        const ConfigurationDifference& difference = differences[row];
        table->setItem(row, 0, Cell(difference.name));
        table->setItem(row, 1, Cell(difference.deviceValue));
        table->setItem(row, 2, Cell(difference.programValue));
        if (difference.deviceState == DeviceValueState::Unknown) {
            QTableWidgetItem* cell = table->item(row, 1);
            QFont font = cell->font();
            font.setItalic(true);
            cell->setFont(font);
            cell->setToolTip(QStringLiteral("Не прочитано из АС: что хранит АС, неизвестно"));
        }
        if (difference.skipReason.isEmpty()) continue;
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* cell = table->item(row, column);
            cell->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            cell->setToolTip(QStringLiteral("Не будет записан в АС: ") + difference.skipReason);
        }
    }
    table->setColumnWidth(0, 170);
    table->setColumnWidth(1, 260);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(table, 1);

    auto* buttons = new QHBoxLayout;
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    writeButton->setToolTip(QStringLiteral("Записать в АС только отличающиеся элементы"));
    // Nothing it could write: no upload that would end in "Записано удачно...".
    writeButton->setEnabled(!WrittenItems(differences).isEmpty());
    takeButton = new QPushButton(QStringLiteral("Взять из АС"), this);
    takeButton->setToolTip(
        QStringLiteral("Заменить в программе отличающиеся элементы значениями АС"));
    // Only values the device answered with: nothing to take when none was read.
    takeButton->setEnabled(!TakenItems(differences).isEmpty());
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    buttons->addWidget(writeButton);
    buttons->addWidget(takeButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(writeButton, &QPushButton::clicked, this, [this] {
        choice_ = WriteToDevice;
        accept();
    });
    connect(takeButton, &QPushButton::clicked, this, [this] {
        choice_ = TakeFromDevice;
        accept();
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // Enter only closes: writing to the device or replacing the program's
    // values takes a click.
    writeButton->setAutoDefault(false);
    takeButton->setAutoDefault(false);
    closeButton->setDefault(true);
    resize(720, 400);
}

bool CompareConfigurationWithDevice(QWidget* parent) {
    DeviceConfiguration& program = CurrentConfiguration();
    DeviceConfiguration device = program;
    QVector<ConfigurationDifference> differences;
    {
        DeviceLock lock;
        if (!BeginDeviceOperation(lock)) return false;
        UnreadItems unread;
        if (!ReadConfigurationForComparison(device, unread)) return false;
        differences = CompareConfigurations(device, program, unread);
    }
    if (differences.isEmpty()) {
        Dialogs().warning(NoDifferencesText());
        return false;
    }
    ConfigurationDiffWindow window(differences, parent);
    window.exec();
    switch (window.choice()) {
        case ConfigurationDiffWindow::WriteToDevice: {
            const QVector<ConfigurationItem> items = WrittenItems(differences);
            if (!Dialogs().confirmDefaultNo(DifferencesUploadQuestion(int(items.size()))))
                return false;
            DeviceLock lock;
            if (BeginDeviceOperation(lock))
                UploadConfigurationAndForms(WithDeviceAccess(program, device), items);
            return false;
        }
        case ConfigurationDiffWindow::TakeFromDevice: {
            // The program's values of the differing items are work the device
            // does not hold: they are lost unless the user says so.
            const QVector<ConfigurationItem> taken = TakenItems(differences);
            if (!Dialogs().confirmDefaultNo(TakeFromDeviceQuestion(int(taken.size()))))
                return false;
            CopyConfigurationItems(program, device, taken);
            return true;
        }
        case ConfigurationDiffWindow::Close:
            break;
    }
    return false;
}
