#include "wizard/WizardWrites.h"

#include <QStringList>

#include "config/ConfigurationDiff.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "wizard/PageTransfer.h"

namespace {

constexpr int LinesPerRecord = 3;

template <typename T>
QByteArray BytesOf(const T& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), int(sizeof value));
}

QByteArray SectionData(WizardSection section, const DeviceConfiguration& config) {
    switch (section) {
        case WizardSection::Operators:
            return BytesOf(config.operators);
        case WizardSection::DocumentName:
            return BytesOf(config.documentName);
        case WizardSection::Services:
            return BytesOf(config.services);
        case WizardSection::Requisites:
            return BytesOf(config.requisites);
        case WizardSection::Cliche1:
            return BytesOf(config.cliches[0]);
        case WizardSection::Cliche2:
            return BytesOf(config.cliches[1]);
    }
    return {};
}

QString Line(const QString& lead, const QStringList& names) {
    return names.isEmpty() ? QString() : lead + names.join(QStringLiteral(", ")) + QLatin1Char('.');
}

}  // namespace

QString WizardSectionName(WizardSection section) {
    switch (section) {
        case WizardSection::Operators:
            return QStringLiteral("Данные операторов");
        case WizardSection::DocumentName:
            return QStringLiteral("Название ДСО");
        case WizardSection::Services:
            return QStringLiteral("Услуги");
        case WizardSection::Requisites:
            return QStringLiteral("Дополнительные реквизиты");
        case WizardSection::Cliche1:
            return QStringLiteral("Клише 1");
        case WizardSection::Cliche2:
            return QStringLiteral("Клише 2");
    }
    return {};
}

WizardSection SectionOf(const TransferPage& page) {
    switch (page.group) {
        case GroupService:
            return WizardSection::Services;
        case GroupRequisite:
            return WizardSection::Requisites;
        case GroupCliche:
            return page.firstIndex == 2 ? WizardSection::Cliche2 : WizardSection::Cliche1;
        default:
            return WizardSection::Operators;
    }
}

QVector<ConfigurationItem> WizardSectionItems(WizardSection section) {
    QVector<ConfigurationItem> items;
    auto lines = [&items](ConfigurationItemKind kind, int records, int first, int perRecord) {
        for (int record = first; record < first + records; ++record)
            for (int line = 1; line <= perRecord; ++line) items.append({kind, record, line});
    };
    switch (section) {
        case WizardSection::Operators:
            lines(ConfigurationItemKind::OperatorLine, OperatorCount, 1, LinesPerRecord);
            break;
        case WizardSection::DocumentName:
            lines(ConfigurationItemKind::DocumentName, 1, 1, 1);
            break;
        case WizardSection::Services:
            lines(ConfigurationItemKind::ServiceLine, ServiceCount, 1, LinesPerRecord);
            break;
        case WizardSection::Requisites:
            lines(ConfigurationItemKind::RequisiteLine, RequisiteCount, 1, LinesPerRecord);
            break;
        case WizardSection::Cliche1:
            lines(ConfigurationItemKind::ClicheLine, 1, 1, ClicheLineCount);
            break;
        case WizardSection::Cliche2:
            lines(ConfigurationItemKind::ClicheLine, 1, 2, ClicheLineCount);
            break;
    }
    return items;
}

void WizardWrites::written(WizardSection section, const DeviceConfiguration& config) {
    entries_[size_t(section)] = {State::Written, SectionData(section, config)};
}

void WizardWrites::read(WizardSection section, const DeviceConfiguration& config) {
    entries_[size_t(section)] = {State::Read, SectionData(section, config)};
}

WizardWrites::State WizardWrites::state(WizardSection section,
                                        const DeviceConfiguration& config) const {
    const Entry& entry = entries_[size_t(section)];
    if (entry.state == State::NotWritten || entry.data != SectionData(section, config))
        return State::NotWritten;
    return entry.state;
}

QVector<WizardSection> WizardWrites::notWritten(const DeviceConfiguration& config) const {
    QVector<WizardSection> sections;
    for (int s = 0; s < WizardSectionCount; ++s)
        if (state(WizardSection(s), config) == State::NotWritten) sections.append(WizardSection(s));
    return sections;
}

QStringList WizardWrites::summary(const DeviceConfiguration& config) const {
    QStringList written, read, missing;
    for (int s = 0; s < WizardSectionCount; ++s) {
        const auto section = WizardSection(s);
        switch (state(section, config)) {
            case State::Written:
                written << WizardSectionName(section);
                break;
            case State::Read:
                read << WizardSectionName(section);
                break;
            case State::NotWritten:
                missing << WizardSectionName(section);
                break;
        }
    }
    QStringList lines = {Line(QStringLiteral("Записаны в АС: "), written),
                         Line(QStringLiteral("Прочитаны из АС без изменений: "), read),
                         Line(QStringLiteral("Не записаны в АС: "), missing)};
    lines.removeAll(QString());
    return lines;
}
