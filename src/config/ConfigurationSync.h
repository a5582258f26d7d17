#pragma once

// What of the program's configuration is kept somewhere besides the program's
// memory: for each item, the value it last had in the device (read from it or
// written to it) or in a file (loaded or saved). An item that differs from it
// is the user's unsent work, which a read or a file load would replace and
// the closing of the program would lose: the program asks before either.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>
#include <cstdint>

#include "config/ConfigurationDiff.h"

struct DeviceConfiguration;
struct FormSlot;

class ConfigurationSync {
public:
    // Every item as `config` holds it: a file was loaded or saved, or the
    // program's window starts with it. Until the first call nothing is
    // unsent: a configuration no window shows (the command line's) asks nothing.
    void keepAll(const DeviceConfiguration& config);
    // Back to asking nothing, as before the first keepAll.
    void stopTracking();
    // A parameter's line (a `ParameterGroup`, index and line from 1) as it came
    // from the device or went to it.
    void keepParameter(uint8_t group, uint8_t index, uint8_t line, const char* field, int size);
    void keepForm(int formNumber, const FormSlot& slot);

    // The items of `config` that differ from what is kept, in the order the
    // upload writes them; of `among` only, when it is given.
    QVector<ConfigurationItem> unsentItems(const DeviceConfiguration& config) const;
    QVector<ConfigurationItem> unsentItems(const DeviceConfiguration& config,
                                           const QVector<ConfigurationItem>& among) const;
    // The same, named for the question ("оператор 3, Ф.И.О.; услуга 2, строка 1
    // и ещё 4"); empty when nothing is unsent.
    QString unsentText(const DeviceConfiguration& config) const;
    QString unsentText(const DeviceConfiguration& config,
                       const QVector<ConfigurationItem>& among) const;
    // Whether a parameter's line as `field` holds it differs from what is kept.
    bool isUnsent(uint8_t group, uint8_t index, uint8_t line, const char* field, int size) const;

private:
    QHash<int, QByteArray> kept_;
    bool tracking_ = false;
};

// The one the main window's configuration is kept by; every read and write of
// a parameter or a form tells it.
ConfigurationSync& ProgramConfigurationSync();

// Asks before `step` replaces what the main window's configuration holds that
// is kept nowhere else (of `among` only, when given): "Изменения не записаны в
// АС: ...", "Нет" by default. True when nothing is unsent or the user agreed.
bool ConfirmOverUnsentConfiguration(const QString& step);
bool ConfirmOverUnsentConfiguration(const QString& step, const QVector<ConfigurationItem>& among);

// The item a parameter's address names; false for one outside the configuration.
bool ConfigurationItemOfParameter(uint8_t group, uint8_t index, uint8_t line,
                                  ConfigurationItem& item);
// Names the items for a question, the first few of them and how many more.
QString NamedConfigurationItems(const QVector<ConfigurationItem>& items);

// The value of one item that tells whether it changed: a line's characters
// with its width flag (an empty line is the same whatever its flag), a
// password's digits, a form's variant, requisite and kind.
QByteArray ConfigurationItemValue(const DeviceConfiguration& config, const ConfigurationItem& item);
