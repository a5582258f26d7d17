// Every transfer against the emulated device with one fault at a time, each
// answer to the question after it: a bounded part of the matrix (the first,
// second, a middle and the last exchange, and the comparison's reads of the
// items it does not write). bench_faultmatrix runs all of it.
#include <QtTest>

#include "support/FaultMatrix.h"

class TestFaultMatrix : public QObject {
    Q_OBJECT

private slots:
    void namesAreWhole() {
        QVERIFY(NamesItem(QStringLiteral("Не записаны: товар 2, товар 25."),
                          QStringLiteral("товар 2")));
        QVERIFY(!NamesItem(QStringLiteral("Не записаны: товар 25."), QStringLiteral("товар 2")));
        QVERIFY(NamesItem(QStringLiteral("Не записаны: товар 25 и ещё 3."),
                          QStringLiteral("товар 25")));
        // The bench counts violations by class, whatever item or count they name.
        QCOMPARE(ViolationClass(QStringLiteral("оператор 3, строка 2 failed and is not named")),
                 ViolationClass(QStringLiteral("форма 8 failed and is not named")));
        QCOMPARE(ViolationClass(QStringLiteral(
                     "asked 2 times after «Да для всех» (товар 5: Не удалось записать...)")),
                 QStringLiteral("asked N times after «Да для всех»"));
    }

    void everyTransferKeepsItsWord_data() {
        QTest::addColumn<int>("transfer");
        const QVector<MatrixTransfer> transfers = MatrixTransfers();
        for (int t = 0; t < transfers.size(); ++t)
            QTest::newRow(qPrintable(transfers[t].name)) << t;
    }

    void everyTransferKeepsItsWord() {
        QFETCH(int, transfer);
        const QVector<MatrixTransfer> transfers = MatrixTransfers();
        const MatrixTransfer& t = transfers[transfer];
        FaultMatrix matrix(t);
        QVERIFY2(matrix.cleanViolations().isEmpty(),
                 qPrintable(matrix.cleanViolations().join(QLatin1Char('\n'))));
        QVERIFY(matrix.exchanges() > 0);
        QStringList violations;
        for (int exchange : matrix.sampleExchanges()) {
            for (const MatrixFault& fault : MatrixFaults())
                for (MatrixAnswer answer : MatrixAnswers())
                    for (const QString& v : matrix.run(exchange, fault, answer))
                        violations << QStringLiteral("%1 @%2 %3: %4")
                                          .arg(fault.name)
                                          .arg(exchange)
                                          .arg(AnswerName(answer), v);
        }
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
