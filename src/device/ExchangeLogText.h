#pragma once

// The texts of the exchange log, made only when an exchange is shown, copied
// or saved: recording keeps raw bytes.

#include <QByteArray>
#include <QString>
#include <vector>

#include "device/ExchangeRecord.h"

class ExchangeLog;

// "Параметр", "Форма", "ИНН", "Товар", "Состояние"; the byte in hex for any other.
QString ExchangeCommandName(uint8_t command);
// "чтение" or "запись" for the commands that have a mode; empty for the others.
QString ExchangeModeText(const ExchangeRecord& record);
// Which record the command addressed: parameter group, number and line, form or goods record.
QString ExchangeAddressText(const ExchangeRecord& record);
// Bytes as "17 02 0A", a secret byte as "**".
QString HexBytes(const uint8_t* bytes, int length, SecretMask secret);
QString RequestHex(const ExchangeRecord& record);
QString AnswerHex(const ExchangeRecord& record);
// Local time; with the date "yyyy-MM-dd HH:mm:ss.zzz", without it "HH:mm:ss.zzz".
QString ExchangeTimeText(const ExchangeRecord& record, bool withDate);
// Milliseconds with two decimals.
QString ExchangeDurationText(const ExchangeRecord& record);
// The status number and its text: "0 Успешно", "2 Неккоректный ответ - ...",
// "5 Ошибка АС"; a port that did not open says so, with the reason where known.
QString ExchangeStatusText(const ExchangeRecord& record);
// "33 Авария батареи."; empty without a device error.
QString ExchangeDeviceErrorText(const ExchangeRecord& record);

// One exchange as a block of text lines: a summary line that carries every
// field but the bytes (so that grep finds an exchange by any of them), then
// the request and the answer.
QString ExchangeBlock(const ExchangeRecord& record);
// Blocks separated by an empty line.
QString ExchangeBlocks(const std::vector<const ExchangeRecord*>& records);

// The whole log as a UTF-8 text file: a heading with the counts, then every
// exchange oldest first.
QByteArray ExchangeLogFileText(const ExchangeLog& log);
// Written through a temporary file, so a failed save leaves an old file as it was.
bool SaveExchangeLog(const ExchangeLog& log, const QString& path);
