#pragma once

// The questions before a configuration is written to the device: the device's
// values are replaced for good, so each names how many items it writes and
// is asked with "Нет" as the default.

#include <QString>
#include <QStringList>
#include <QVector>

struct ConfigurationItem;
struct DeviceConfiguration;

// The items "Загрузить в ВАЛДЕ ВК-12" writes of `config`: every line and the
// document name, less those the upload passes over.
QVector<ConfigurationItem> WholeUploadItems(const DeviceConfiguration& config);

QString WholeUploadQuestion(int items);
// "Загрузить в АС" of the comparison window.
QString DifferencesUploadQuestion(int items);
// The "Помощник"'s write of the sections it has not written ("Услуги, Клише 2").
QString SectionsUploadQuestion(const QStringList& sections, int items);
// "Взять из АС": the program's values of `items` items are replaced.
QString TakeFromDeviceQuestion(int items);
