#include "emulator/EmulatorCommands.h"

#include <QRegularExpression>
#include <limits>

#include "emulator/DeviceEmulator.h"

namespace {

enum class ValueUse { None, Optional, Required };

struct KindName {
    const char* word;
    FaultKind kind;
    ValueUse value;
};

constexpr KindName KindNames[] = {
    {"silent", FaultKind::Silent, ValueUse::None},
    {"truncate", FaultKind::Truncate, ValueUse::Required},
    {"first-byte", FaultKind::WrongFirstByte, ValueUse::Optional},
    {"length", FaultKind::WrongLength, ValueUse::Optional},
    {"code", FaultKind::WrongCode, ValueUse::Optional},
    {"error", FaultKind::DeviceError, ValueUse::Required},
    {"delay", FaultKind::Delay, ValueUse::Required},
    {"pace", FaultKind::Pace, ValueUse::Required},
    {"late", FaultKind::Late, ValueUse::Required},
};

bool ToNumber(const QString& word, qint64 low, qint64 high, qint64& value) {
    bool ok = false;
    if (word.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = word.mid(2).toLongLong(&ok, 16);
    else
        value = word.toLongLong(&ok, 10);
    return ok && value >= low && value <= high;
}

bool ToInt(const QString& word, qint64 low, qint64 high, int& value) {
    qint64 wide = 0;
    if (!ToNumber(word, low, high, wide)) return false;
    value = static_cast<int>(wide);
    return true;
}

// A missing word means "on", so that "one-cliche" alone switches it on.
bool ToSwitch(const QStringList& words, int at, bool& on) {
    if (words.size() <= at) {
        on = true;
        return true;
    }
    const QString& word = words.at(at);
    if (word == QLatin1String("on") || word == QLatin1String("1"))
        on = true;
    else if (word == QLatin1String("off") || word == QLatin1String("0"))
        on = false;
    else
        return false;
    return words.size() == at + 1;
}

QString BadNumber(const QString& word) {
    return QStringLiteral("bad number: ") + word;
}

constexpr qint64 MaxInt = std::numeric_limits<int>::max();

QString ApplyStatus(DeviceEmulator& device, const QStringList& words) {
    if (words.size() < 2) return QStringLiteral("status needs KEY=VALUE");
    DeviceEmulator::Status status = device.status();
    for (int i = 1; i < words.size(); ++i) {
        const QString key = words.at(i).section(QLatin1Char('='), 0, 0);
        const QString text = words.at(i).section(QLatin1Char('='), 1);
        const bool wide = key == QLatin1String("document");
        int value = 0;
        if (!ToInt(text, 0, wide ? 0xFFFF : 0xFF, value)) return BadNumber(words.at(i));
        if (key == QLatin1String("online"))
            status.onlineMode = static_cast<uint8_t>(value & 0x0F);
        else if (key == QLatin1String("flash"))
            status.flash = static_cast<uint8_t>(value);
        else if (key == QLatin1String("battery"))
            status.battery = static_cast<uint8_t>(value);
        else if (wide)
            status.documentNumber = static_cast<uint16_t>(value);
        else if (key == QLatin1String("document-state"))
            status.documentState = static_cast<uint8_t>(value);
        else
            return QStringLiteral("unknown status key: ") + key;
    }
    device.status() = status;
    return {};
}

QString ApplyForm(DeviceEmulator& device, const QStringList& words) {
    int number = 0;
    if (words.size() < 3 || !ToInt(words.at(1), 1, DeviceEmulator::FormCount, number))
        return QStringLiteral("form needs NUMBER (1..8) and absent or VARIANT REQUISITE KIND");
    if (words.size() == 3 && words.at(2) == QLatin1String("absent")) {
        device.setForm(number, DeviceEmulator::Form{false, 0, 0, 0});
        return {};
    }
    int fields[3] = {};
    if (words.size() != 5) return QStringLiteral("form needs VARIANT REQUISITE KIND");
    for (int i = 0; i < 3; ++i)
        if (!ToInt(words.at(2 + i), 0, 0xFF, fields[i])) return BadNumber(words.at(2 + i));
    device.setForm(number, DeviceEmulator::Form{true, static_cast<uint8_t>(fields[0]),
                                                static_cast<uint8_t>(fields[1]),
                                                static_cast<uint8_t>(fields[2])});
    return {};
}

QString ApplyParameter(DeviceEmulator& device, const QString& line) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*param\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)(?:\\s(.*))?$"));
    const QRegularExpressionMatch match = pattern.match(line);
    int address[3] = {};
    if (!match.hasMatch()) return QStringLiteral("param needs GROUP INDEX LINE [TEXT]");
    for (int i = 0; i < 3; ++i)
        if (!ToInt(match.captured(i + 1), 0, 0xFF, address[i]))
            return BadNumber(match.captured(i + 1));
    const QByteArray text = match.captured(4).toLatin1();
    if (!device.setParameter(address[0], address[1], address[2], text))
        return QStringLiteral("no such parameter");
    return {};
}

QString ApplyClock(DeviceEmulator& device, const QStringList& words) {
    if (words.size() != 2) return QStringLiteral("clock needs host or YYYY-MM-DDTHH:MM[:SS]");
    if (words.at(1) == QLatin1String("host")) {
        device.setClock(QDateTime());
        return {};
    }
    const QDateTime time = QDateTime::fromString(words.at(1), Qt::ISODate);
    if (!time.isValid()) return QStringLiteral("bad time: ") + words.at(1);
    device.setClock(time);
    return {};
}

}  // namespace

bool ParseFault(const QStringList& words, Fault& fault, QString& error) {
    fault = Fault{};
    const KindName* kind = nullptr;
    if (!words.isEmpty())
        for (const KindName& candidate : KindNames)
            if (words.at(0) == QLatin1String(candidate.word)) kind = &candidate;
    if (!kind) {
        error = QStringLiteral("unknown fault: ") + words.value(0);
        return false;
    }
    fault.kind = kind->kind;
    int at = 1;
    if (kind->value != ValueUse::None && at < words.size() &&
        !words.at(at).contains(QLatin1Char('='))) {
        if (!ToInt(words.at(at), 0, MaxInt, fault.value)) {
            error = BadNumber(words.at(at));
            return false;
        }
        ++at;
    }
    if (kind->value == ValueUse::Required && fault.value < 0) {
        error = QStringLiteral("fault %1 needs a value").arg(QLatin1String(kind->word));
        return false;
    }
    for (; at < words.size(); ++at) {
        const QString key = words.at(at).section(QLatin1Char('='), 0, 0);
        const QString text = words.at(at).section(QLatin1Char('='), 1);
        int* field = key == QLatin1String("cmd")     ? &fault.command
                     : key == QLatin1String("group") ? &fault.group
                     : key == QLatin1String("index") ? &fault.index
                     : key == QLatin1String("count") ? &fault.count
                                                     : nullptr;
        if (!field || !ToInt(text, 0, MaxInt, *field)) {
            error = QStringLiteral("bad fault filter: ") + words.at(at);
            return false;
        }
    }
    if (!fault.isValid()) {
        error = QStringLiteral("fault value or count out of range");
        return false;
    }
    return true;
}

QString ApplyEmulatorCommand(DeviceEmulator& device, const QString& line) {
    const QStringList words =
        line.trimmed().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty()) return QStringLiteral("empty command");
    const QString& verb = words.at(0);
    const int arguments = static_cast<int>(words.size()) - 1;
    int number = 0;
    bool on = false;

    if (verb == QLatin1String("fault")) {
        Fault fault;
        QString error;
        if (!ParseFault(words.mid(1), fault, error)) return error;
        device.addFault(fault);
    } else if (verb == QLatin1String("clear-faults") && arguments == 0) {
        device.clearFaults();
    } else if (verb == QLatin1String("pace") && arguments == 1) {
        if (!ToInt(words.at(1), 0, MaxInt, number)) return BadNumber(words.at(1));
        device.setPace(number);
    } else if (verb == QLatin1String("delay") && arguments == 1) {
        if (!ToInt(words.at(1), 0, MaxInt, number)) return BadNumber(words.at(1));
        device.setDelay(number);
    } else if (verb == QLatin1String("factory") && arguments == 1) {
        if (!ToInt(words.at(1), std::numeric_limits<int32_t>::min(), MaxInt, number))
            return BadNumber(words.at(1));
        device.setFactoryNumber(number);
    } else if (verb == QLatin1String("one-cliche")) {
        if (!ToSwitch(words, 1, on)) return QStringLiteral("one-cliche takes on or off");
        device.setOneClicheOnly(on);
    } else if (verb == QLatin1String("working-mode")) {
        if (!ToSwitch(words, 1, on)) return QStringLiteral("working-mode takes on or off");
        device.setWorkingMode(on);
    } else if (verb == QLatin1String("access") && arguments == 3) {
        int group = 0, index = 0;
        if (!ToInt(words.at(1), 0, 0xFF, group) || !ToInt(words.at(2), 0, 0xFF, index) ||
            !ToSwitch(words, 3, on) || !device.setAccess(group, index, on))
            return QStringLiteral("access needs GROUP INDEX 0|1 of an existing record");
    } else if (verb == QLatin1String("group") && arguments == 1) {
        if (!ToInt(words.at(1), 0, 0xFF, number)) return BadNumber(words.at(1));
        device.setGroup(static_cast<uint8_t>(number));
    } else if (verb == QLatin1String("inn") && arguments == 1) {
        qint64 value = 0;
        if (!ToNumber(words.at(1), 0, 0xFFFFFFFFFFFFLL, value)) return BadNumber(words.at(1));
        device.setTaxpayerNumber(static_cast<uint64_t>(value));
    } else if (verb == QLatin1String("form")) {
        return ApplyForm(device, words);
    } else if (verb == QLatin1String("param")) {
        return ApplyParameter(device, line);
    } else if (verb == QLatin1String("status")) {
        return ApplyStatus(device, words);
    } else if (verb == QLatin1String("clock")) {
        return ApplyClock(device, words);
    } else if (verb == QLatin1String("clear-log") && arguments == 0) {
        device.clearLog();
    } else if (verb == QLatin1String("reset") && arguments == 0) {
        device.reset();
    } else {
        return QStringLiteral("unknown command or wrong arguments: ") + line.trimmed();
    }
    return {};
}

QStringList EmulatorCommandHelp() {
    return {
        QStringLiteral("fault KIND [VALUE] [cmd=C] [group=G] [index=I] [count=N]"),
        QStringLiteral("    KIND: silent | truncate BYTES | first-byte [B] | length [L] |"),
        QStringLiteral("          code [C] | error CODE | delay MS | pace BAUD | late MS"),
        QStringLiteral("    late: answer MS ms after the request even if the port is closed"),
        QStringLiteral("          meanwhile; a following request is answered after it"),
        QStringLiteral("    index: parameter first index, form number or goods record"),
        QStringLiteral("    count: only the next N matching requests"),
        QStringLiteral("clear-faults"),
        QStringLiteral("pace BAUD              answer at BAUD bit/s (0: at once)"),
        QStringLiteral("delay MS               wait before every answer"),
        QStringLiteral("factory N              the device's factory number"),
        QStringLiteral("one-cliche [on|off]    no cliché 2"),
        QStringLiteral("working-mode [on|off]  as if the ИНН were programmed"),
        QStringLiteral("access GROUP INDEX 0|1 record flag: writable or not"),
        QStringLiteral("group N                current BSO group"),
        QStringLiteral("inn N                  taxpayer number in the state answer"),
        QStringLiteral("form N absent | form N VARIANT REQUISITE KIND"),
        QStringLiteral("param GROUP INDEX LINE [TEXT]  store a record (device characters)"),
        QStringLiteral("status online=N flash=N battery=N document=N document-state=N"),
        QStringLiteral("clock host | clock YYYY-MM-DDTHH:MM[:SS]"),
        QStringLiteral("clear-log"),
        QStringLiteral("reset                  back to the start-up state"),
    };
}
