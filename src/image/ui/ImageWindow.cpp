#include "image/ui/ImageWindow.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/UploadSkips.h"
#include "device/DeviceLock.h"
#include "goods/GoodsTable.h"
#include "image/ImageFile.h"
#include "shell/DeviceOperation.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

namespace {

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString RunFileDialog(QFileDialog* dialog) {
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QString path = accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    return path;
}

const QString ImageFilter = QStringLiteral("Образы АС (*.zimg)");

}  // namespace

ImageComparisonWindow::ImageComparisonWindow(const ImageComparison& comparison, bool complete,
                                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Сравнить образ с АС"));
    auto* layout = new QVBoxLayout(this);
    countsLabel =
        new QLabel(QStringLiteral("Отличается: ") + ImageDifferenceCounts(comparison), this);
    layout->addWidget(countsLabel);

    QStringList notes;
    if (!complete)
        notes << QStringLiteral(
            "АС прочитан не полностью: отличия известны не все, и записать "
            "можно только весь образ.");
    const QString skipped = SkippedDifferencesText(comparison.configuration);
    if (!skipped.isEmpty()) notes << skipped;
    if (comparison.taxpayerNumberDiffers)
        notes << QStringLiteral("ИНН образа не тот, что в АС; ИНН не записывается.");
    noteLabel = new QLabel(notes.join(QLatin1Char('\n')), this);
    noteLabel->setWordWrap(true);
    noteLabel->setVisible(!notes.isEmpty());
    layout->addWidget(noteLabel);

    const QVector<ImageDifferenceLine> lines = ImageDifferenceLines(comparison);
    table = new QTableWidget(int(lines.size()), 4, this);
    table->setHorizontalHeaderLabels({QStringLiteral("Часть"), QStringLiteral("Элемент"),
                                      QStringLiteral("В АС"), QStringLiteral("В образе")});
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    for (int row = 0; row < lines.size(); ++row) {
        const ImageDifferenceLine& line = lines[row];
        const QString texts[] = {line.part, line.item, line.device, line.image};
        for (int column = 0; column < 4; ++column) {
            QTableWidgetItem* cell = Cell(texts[column]);
            if (!line.notWritten.isEmpty()) {
                cell->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
                cell->setToolTip(QStringLiteral("Не будет записан в АС: ") + line.notWritten);
            }
            table->setItem(row, column, cell);
        }
    }
    table->setColumnWidth(0, 110);
    table->setColumnWidth(1, 170);
    table->setColumnWidth(2, 240);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(table, 1);

    auto* buttons = new QHBoxLayout;
    differencesButton = new QPushButton(QStringLiteral("Записать отличия"), this);
    differencesButton->setToolTip(QStringLiteral("Записать в АС только то, что отличается"));
    differencesButton->setEnabled(complete && (!WrittenItems(comparison.configuration).isEmpty() ||
                                               comparison.goodsTable->changedCount() > 0));
    allButton = new QPushButton(QStringLiteral("Записать всё"), this);
    allButton->setToolTip(QStringLiteral("Записать в АС весь образ, кроме ИНН"));
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    buttons->addWidget(differencesButton);
    buttons->addWidget(allButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(differencesButton, &QPushButton::clicked, this, [this] {
        choice_ = WriteDifferences;
        accept();
    });
    connect(allButton, &QPushButton::clicked, this, [this] {
        choice_ = WriteAll;
        accept();
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // Enter only closes: writing to the device takes a click.
    differencesButton->setAutoDefault(false);
    allButton->setAutoDefault(false);
    closeButton->setDefault(true);
    resize(760, 420);
}

QFileDialog* CreateImageSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Сохранить всё из АС в файл"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(ImageFilter);
    dialog->setDefaultSuffix(QStringLiteral("zimg"));
    return dialog;
}

QFileDialog* CreateImageOpenDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("Записать всё из файла в АС"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be opened gets its own message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(ImageFilter);
    return dialog;
}

void SaveDeviceImage(const QString& path) {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    DeviceImage image;
    ReadDeviceImageToFile(path, image, CurrentProgress(), Dialogs());
}

void WriteDeviceImage(const QString& path, QWidget* parent) {
    if (RefuseDuringDeviceOperation()) return;
    DeviceImage image;
    const ImageFileResult loaded = LoadImageFile(path, image);
    if (!loaded.ok()) {
        Dialogs().error(ImageFileMessage(loaded));
        return;
    }
    ImageComparison comparison;
    ImageOutcome compared;
    {
        DeviceLock lock;
        if (!BeginDeviceOperation(lock)) return;
        compared = CompareImageWithDevice(image, comparison, CurrentProgress(), Dialogs());
    }
    if (!compared.completed) return;
    ImageComparisonWindow window(comparison, compared.failures.isEmpty(), parent);
    window.exec();
    if (window.choice() == ImageComparisonWindow::Close) return;
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (window.choice() == ImageComparisonWindow::WriteAll)
        WriteWholeImage(image, CurrentProgress(), Dialogs());
    else
        WriteImageDifferences(image, comparison, CurrentProgress(), Dialogs());
}

void SaveDeviceImageAsked(QWidget* parent) {
    if (RefuseDuringDeviceOperation()) return;
    const QString path = RunFileDialog(CreateImageSaveDialog(parent));
    if (!path.isEmpty()) SaveDeviceImage(path);
}

void WriteDeviceImageAsked(QWidget* parent) {
    if (RefuseDuringDeviceOperation()) return;
    const QString path = RunFileDialog(CreateImageOpenDialog(parent));
    if (!path.isEmpty()) WriteDeviceImage(path, parent);
}
