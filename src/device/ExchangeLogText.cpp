#include "device/ExchangeLogText.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include "device/DeviceCharset.h"
#include "device/ExchangeLog.h"

namespace {

bool HasMode(uint8_t command) {
    return command == CmdParameter || command == CmdForm || command == CmdGoods;
}

QString Bytes(int arrived, int expected) {
    return arrived == expected ? QStringLiteral("%1 байт").arg(arrived)
                               : QStringLiteral("%1 из %2 байт").arg(arrived).arg(expected);
}

}  // namespace

QString ExchangeCommandName(uint8_t command) {
    switch (command) {
        case CmdParameter:
            return QStringLiteral("Параметр");
        case CmdForm:
            return QStringLiteral("Форма");
        case CmdInn:
            return QStringLiteral("ИНН");
        case CmdGoods:
            return QStringLiteral("Товар");
        case CmdState:
            return QStringLiteral("Состояние");
        default:
            return QStringLiteral("%1").arg(command, 2, 16, QLatin1Char('0')).toUpper();
    }
}

QString ExchangeModeText(const ExchangeRecord& record) {
    if (record.lineCheck) return QStringLiteral("проверка линии");
    if (!HasMode(record.command()) || record.requestLength <= 8) return {};
    switch (record.request[8]) {
        case ModeRead:
            return QStringLiteral("чтение");
        case ModeWrite:
            return QStringLiteral("запись");
        default:
            return QStringLiteral("режим %1").arg(record.request[8]);
    }
}

QString ExchangeAddressText(const ExchangeRecord& record) {
    const uint8_t* r = record.request;
    if (record.requestLength < 12) return {};
    switch (record.command()) {
        case CmdParameter:
            return QStringLiteral("группа %1, № %2, строка %3").arg(r[9]).arg(r[10]).arg(r[11]);
        case CmdForm:
            return QStringLiteral("форма %1").arg(r[9]);
        case CmdGoods:
            return QStringLiteral("запись %1").arg(r[9] | (r[10] << 8));
        default:
            return {};
    }
}

QString HexBytes(const uint8_t* bytes, int length, SecretMask secret) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    if (length <= 0) return {};
    QString text(length * 3 - 1, QLatin1Char(' '));
    QChar* out = text.data();
    for (int i = 0; i < length; ++i, out += 3) {
        if (i < 64 && (secret & (SecretMask(1) << i))) {
            out[0] = out[1] = QLatin1Char('*');
        } else {
            out[0] = QChar(digits[bytes[i] >> 4]);
            out[1] = QChar(digits[bytes[i] & 0x0F]);
        }
    }
    return text;
}

QString RequestHex(const ExchangeRecord& record) {
    return HexBytes(record.request, record.requestLength, record.requestSecret);
}

QString AnswerHex(const ExchangeRecord& record) {
    return HexBytes(record.answer, record.answerLength, record.answerSecret);
}

QString ExchangeTimeText(const ExchangeRecord& record, bool withDate) {
    return QDateTime::fromMSecsSinceEpoch(record.startedMs)
        .toString(withDate ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                           : QStringLiteral("HH:mm:ss.zzz"));
}

QString ExchangeDurationText(const ExchangeRecord& record) {
    return QString::number(double(record.durationNs) / 1e6, 'f', 2);
}

QString ExchangeStatusText(const ExchangeRecord& record) {
    const QString number = QString::number(int(record.status)) + QLatin1Char(' ');
    if (!record.portOpened) return number + PortNotOpenedText(record.openError);
    switch (record.status) {
        case StatusOk:
            return number + QStringLiteral("Успешно");
        case StatusDeviceError:
            return number + QStringLiteral("Ошибка АС");
        default:
            return number + FromCp1251(StatusText(record.status));
    }
}

QString ExchangeDeviceErrorText(const ExchangeRecord& record) {
    if (record.deviceError == 0) return {};
    return QString::number(record.deviceError) + QLatin1Char(' ') +
           FromCp1251(DeviceErrorText(record.deviceError)).trimmed();
}

QString ExchangeBlock(const ExchangeRecord& record) {
    QStringList summary{QStringLiteral("№ %1").arg(record.number), ExchangeTimeText(record, true),
                        record.port, QStringLiteral("%1 бит/с").arg(record.baudRate),
                        ExchangeCommandName(record.command())};
    for (const QString& field : {ExchangeModeText(record), ExchangeAddressText(record)})
        if (!field.isEmpty()) summary << field;
    if (record.discarded > 0) summary << QStringLiteral("отброшено %1 байт").arg(record.discarded);
    summary << ExchangeDurationText(record) + QStringLiteral(" мс");
    QString status = ExchangeStatusText(record);
    if (record.deviceError != 0) status += QStringLiteral(": ") + ExchangeDeviceErrorText(record);
    summary << status;

    const QString answer = AnswerHex(record);
    return summary.join(QStringLiteral("  ")) +
           QStringLiteral("\n    Запрос (%1): %2\n")
               .arg(Bytes(record.requestLength, record.requestLength), RequestHex(record)) +
           QStringLiteral("    Ответ (%1): %2\n")
               .arg(Bytes(record.answerLength, record.expectedAnswerLength),
                    answer.isEmpty() ? QStringLiteral("нет") : answer);
}

QString ExchangeBlocks(const std::vector<const ExchangeRecord*>& records) {
    QString text;
    for (const ExchangeRecord* record : records) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += ExchangeBlock(*record);
    }
    return text;
}

QByteArray ExchangeLogFileText(const ExchangeLog& log) {
    QByteArray text =
        QStringLiteral(
            "Журнал обмена, сохранён %1\nОбменов: %2, отброшено более "
            "старых: %3\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            .arg(log.size())
            .arg(log.dropped())
            .toUtf8();
    for (int i = 0; i < log.size(); ++i) text += '\n' + ExchangeBlock(log.at(i)).toUtf8();
    return text;
}

bool SaveExchangeLog(const ExchangeLog& log, const QString& path) {
    const QByteArray text = ExchangeLogFileText(log);
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    // A log can hold operators' passwords: a new one is the owner's alone;
    // one that exists keeps its mode.
    if (!existed && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.write(text) == text.size() && file.commit();
}
