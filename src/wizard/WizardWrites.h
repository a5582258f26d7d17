#pragma once

// What the "Помощник" has put into the device in one opening, section by
// section, so that its last page tells the truth: which sections were written
// (or read and left as read) and which the device does not hold. A section
// counts only while the program's data of it are what went to or came from
// the device; an edit after the write makes it unwritten again.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

struct ConfigurationItem;
struct DeviceConfiguration;
struct TransferPage;

enum class WizardSection { Operators, DocumentName, Services, Requisites, Cliche1, Cliche2 };
constexpr int WizardSectionCount = 6;

QString WizardSectionName(WizardSection section);  // "Данные операторов", "Клише 2"...
// The section a list page's transfer moves.
WizardSection SectionOf(const TransferPage& page);
// Every item of the section, as the configuration upload names them.
QVector<ConfigurationItem> WizardSectionItems(WizardSection section);

class WizardWrites {
public:
    enum class State { NotWritten, Written, Read };

    // The device now holds the section as `config` has it.
    void written(WizardSection section, const DeviceConfiguration& config);
    void read(WizardSection section, const DeviceConfiguration& config);
    // NotWritten once the section's data differ from what was exchanged.
    State state(WizardSection section, const DeviceConfiguration& config) const;
    QVector<WizardSection> notWritten(const DeviceConfiguration& config) const;

    // The last page's lines: "Записаны в АС: ...", "Прочитаны из АС без
    // изменений: ...", "Не записаны в АС: ..."; the lines without sections left out.
    QStringList summary(const DeviceConfiguration& config) const;

private:
    struct Entry {
        State state = State::NotWritten;
        QByteArray data;
    };
    std::array<Entry, WizardSectionCount> entries_;
};
