#pragma once

#include <QDialog>

#include "image/ImageTransfer.h"

class QFileDialog;
class QLabel;
class QPushButton;
class QTableWidget;

// "Сравнить образ с АС": what the device holds against the image, part by part,
// and what the user writes: only the differences, all of the image, or nothing.
class ImageComparisonWindow : public QDialog {
    Q_OBJECT
public:
    enum Choice { Close, WriteDifferences, WriteAll };

    // `complete`: the device was read without a failure, so the differences
    // are all known; otherwise only the whole image can be written.
    ImageComparisonWindow(const ImageComparison& comparison, bool complete,
                          QWidget* parent = nullptr);

    Choice choice() const { return choice_; }

    QLabel* countsLabel = nullptr;
    QLabel* noteLabel = nullptr;  // the ИНН and what is not written; hidden when nothing to say
    QTableWidget* table = nullptr;
    QPushButton* differencesButton = nullptr;  // "Записать отличия"
    QPushButton* allButton = nullptr;          // "Записать всё"
    QPushButton* closeButton = nullptr;        // "Закрыть"

private:
    Choice choice_ = Close;
};

// The file dialogs of the two menu items, created for the caller to run.
QFileDialog* CreateImageSaveDialog(QWidget* parent);
QFileDialog* CreateImageOpenDialog(QWidget* parent);

// "Сохранить всё из АС в файл..." once the file is chosen.
void SaveDeviceImage(const QString& path);
// "Записать всё из файла в АС..." once the file is chosen: loads the image,
// compares it with the device, shows the comparison and writes what the user
// chooses.
void WriteDeviceImage(const QString& path, QWidget* parent);

// The two menu items: the file dialog, then the above.
void SaveDeviceImageAsked(QWidget* parent);
void WriteDeviceImageAsked(QWidget* parent);
