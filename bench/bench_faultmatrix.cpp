// The whole fault matrix: every transfer, one fault at each exchange in turn
// (no answer, a cut answer, a wrong first byte, a device error, an answer 1, 2
// and 10 total time-outs late), each answer to the question after it. Prints
// the runs and the violations per transfer, per fault kind and per class, and
// the first violations of each. Options: --transfer NAME[,NAME...] (only
// these transfers), --every N (every
// Nth exchange of transfers longer than 200 exchanges, 1 = all; default 10),
// --show N (violations listed per transfer, default 5), --exchange N (only
// exchange N, to reproduce one run).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <cstdio>

#include "support/FaultMatrix.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, const QString& fallback) {
        const int at = int(args.indexOf(QString::fromLatin1(name)));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const QStringList only =
        option("--transfer", QString()).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const int every = qMax(1, option("--every", QStringLiteral("10")).toInt());
    const int show = option("--show", QStringLiteral("5")).toInt();
    const int onlyExchange = option("--exchange", QStringLiteral("-1")).toInt();

    QElapsedTimer clock;
    clock.start();
    int totalRuns = 0, totalViolations = 0;
    QMap<QString, int> byKind;
    QMap<QString, int> byClass;
    const QVector<MatrixTransfer> transfers = MatrixTransfers();
    for (const MatrixTransfer& transfer : transfers) {
        if (!only.isEmpty() && !only.contains(transfer.name)) continue;
        FaultMatrix matrix(transfer);
        if (!matrix.cleanViolations().isEmpty()) {
            std::printf("%-28s clean run broken: %s\n", qPrintable(transfer.name),
                        qPrintable(matrix.cleanViolations().join(QStringLiteral("; "))));
            ++totalViolations;
            continue;
        }
        const int n = matrix.exchanges();
        const int step = n > 200 ? every : 1;
        int runs = 0, violatedRuns = 0;
        QMap<QString, int> kinds;
        QStringList listed;
        for (int exchange = onlyExchange >= 0 ? onlyExchange : 0;
             exchange < (onlyExchange >= 0 ? qMin(n, onlyExchange + 1) : n); exchange += step) {
            for (const MatrixFault& fault : MatrixFaults()) {
                for (MatrixAnswer answer : MatrixAnswers()) {
                    const QStringList found = matrix.run(exchange, fault, answer);
                    ++runs;
                    if (found.isEmpty()) continue;
                    ++violatedRuns;
                    kinds[fault.name] += 1;
                    for (const QString& v : found) byClass[ViolationClass(v)] += 1;
                    if (listed.size() < show)
                        listed << QStringLiteral("%1 @%2 %3: %4")
                                      .arg(fault.name)
                                      .arg(exchange)
                                      .arg(AnswerName(answer), found.join(QStringLiteral("; ")));
                }
            }
        }
        totalRuns += runs;
        totalViolations += violatedRuns;
        QStringList perKind;
        for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
            perKind << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
            byKind[it.key()] += it.value();
        }
        std::printf("%-28s exchanges %5d  runs %6d  runs with violations %5d  %s\n",
                    qPrintable(transfer.name), n, runs, violatedRuns,
                    qPrintable(perKind.join(QStringLiteral(", "))));
        for (const QString& line : listed) std::printf("    %s\n", qPrintable(line));
        std::fflush(stdout);
    }
    QStringList perKind;
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
        perKind << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    std::printf("total: runs %d, runs with violations %d (%s), %.1f s\n", totalRuns,
                totalViolations, qPrintable(perKind.join(QStringLiteral(", "))),
                double(clock.elapsed()) / 1000.0);
    for (auto it = byClass.cbegin(); it != byClass.cend(); ++it)
        std::printf("    %6d × %s\n", it.value(), qPrintable(it.key()));
    return totalViolations == 0 ? 0 : 1;
}
