#pragma once

#include <QString>
#include <QtTest>

#include "support/SerialCalls.h"
#include "support/SimProcess.h"

// The command statuses every serial link must give end to end against
// zelvo-sim, one data row each: the simulator's fault, the byte time-out, the
// status, the error text and the bounds of the exchange's time (the total
// time-out is 600 ms).
inline void AddSerialStatusRows() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("byteTimeout");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    const QString header = QStringLiteral("Неккоректный ответ - первый байт не STX_SLAVE.");
    QTest::newRow("answer") << QString() << 100 << 0 << QString() << 0 << 400;
    QTest::newRow("silence: after the total time-out")
        << QStringLiteral("silent") << 100 << 1
        << QStringLiteral("Нет ответа или не удалось открыть порт.") << 550 << 1500;
    QTest::newRow("part of the answer: at the first gap")
        << QStringLiteral("truncate 20") << 100 << 2 << header << 80 << 500;
    QTest::newRow("part of the answer, no gap limit: at the total time-out")
        << QStringLiteral("truncate 20") << 0 << 2 << header << 550 << 1500;
    QTest::newRow("wrong first byte")
        << QStringLiteral("first-byte") << 100 << 2 << header << 0 << 400;
    QTest::newRow("wrong length byte")
        << QStringLiteral("length") << 100 << 2 << header << 0 << 400;
    QTest::newRow("wrong response code")
        << QStringLiteral("code") << 100 << 3
        << QStringLiteral("Неккоректный ответ - код ответа не соответствует коду команды.") << 0
        << 400;
    QTest::newRow("device error") << QStringLiteral("error 33") << 100 << 5
                                  << QStringLiteral(" Авария батареи.") << 0 << 400;
    QTest::newRow("slow start is not a gap")
        << QStringLiteral("delay 300") << 100 << 0 << QString() << 280 << 580;
}

// One row of AddSerialStatusRows() against `sim`, the port already set up.
inline void CheckSerialStatusRow(SimProcess& sim) {
    QFETCH(QString, fault);
    QFETCH(int, byteTimeout);
    QFETCH(int, status);
    QFETCH(QString, text);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    if (!fault.isEmpty()) QVERIFY(sim.command(QStringLiteral("fault ") + fault));
    CurrentPortSettings().ByteTimeout = byteTimeout;
    const SerialOutcome outcome = ReadDocumentNameTimed();
    QCOMPARE(int(outcome.status), status);
    QCOMPARE(outcome.text, text);
    QVERIFY2(outcome.ms >= minMs && outcome.ms <= maxMs,
             QByteArray::number(outcome.ms).constData());
}
