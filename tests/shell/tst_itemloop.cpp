// The one loop behind every multi-item transfer.
#include <QtTest>

#include "shell/ItemLoop.h"
#include "shell/ProgressCount.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"

static QStringList Lines(std::initializer_list<const char*> lines) {
    QStringList list;
    for (const char* line : lines) list << QString::fromUtf8(line);
    return list;
}

class TestItemLoop : public QObject {
    Q_OBJECT

    static ItemResult Fail() { return {StatusNoAnswer, QByteArrayLiteral("E")}; }

private slots:
    void progressAndQuestions() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerYes();
        ItemLoopOptions options;
        options.failureLead = QStringLiteral("Не удалось прочитать параметр... ");
        options.progressTotal = 24;
        options.progressDone = [](int i) { return i * 3 + 3; };
        int calls = 0;
        const bool done = RunItemLoop(
            3,
            [&](int i) -> std::optional<ItemResult> {
                ++calls;
                if (i == 1) return Fail();
                return ItemResult{};
            },
            options, progress, dialogs);
        QVERIFY(done);
        QCOMPARE(calls, 3);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsErrorQuestion(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 QStringLiteral("Не удалось прочитать параметр... E\n Продолжить?"));
        QCOMPARE(progress.log, Lines({"busy on", "begin", "step 3/24", "step 6/24", "step 9/24",
                                      "end", "busy off"}));
    }

    void noStopsAtOnceAndSkipsTakeNoStep() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerNo();
        ItemLoopOptions options;
        options.progressTotal = 5;
        int calls = 0;
        const bool done = RunItemLoop(
            5,
            [&](int i) -> std::optional<ItemResult> {
                ++calls;
                if (i == 0) return std::nullopt;
                return Fail();
            },
            options, progress, dialogs);
        QVERIFY(!done);
        QCOMPARE(calls, 2);
        QCOMPARE(progress.log, Lines({"busy on", "begin", "end", "busy off"}));
        QCOMPARE(dialogs.unexpectedQuestions, 0);
    }

    // The final message: the success text exactly when nothing failed,
    // otherwise the count and the failed items, a long list cut readable.
    void outcomeEndsEveryTransferTruthfully() {
        ScriptedDialogs dialogs;
        TransferOutcome clean;
        clean.done = 1001;
        ReportOutcome(clean, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Записано удачно...")});
        QVERIFY(IsWarning(dialogs.shown[0]));

        dialogs.clear();
        TransferOutcome some;
        some.done = 998;
        some.failed = QStringList{QStringLiteral("товар 225"), QStringLiteral("товар 226"),
                                  QStringLiteral("товар 227")};
        ReportOutcome(some, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral(
                     "Записано: 998 из 1001. Не записаны: товар 225, товар 226, товар 227.")});
        QVERIFY(IsError(dialogs.shown[0]) && dialogs.shown[0].summary);

        TransferOutcome many;
        for (int i = 0; i < 12; ++i) many.failed << QStringLiteral("товар %1").arg(i);
        many.failed << QString();  // an item without a name is counted
        many.stopped = true;
        QCOMPARE(OutcomeSummary(many, ReadWords()),
                 QStringLiteral("Прочитано: 0. Не прочитаны: товар 0, товар 1, товар 2, товар 3, "
                                "товар 4, товар 5, товар 6, товар 7, товар 8, товар 9 и ещё 3. "
                                "Остальные не читались."));

        // The user's stop keeps its old words, with what failed before it.
        dialogs.clear();
        TransferOutcome stopped;
        stopped.stopped = stopped.stopRequested = true;
        ReportOutcome(stopped, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
        stopped.done = 3;
        stopped.failed << QStringLiteral("товар 4");
        ReportOutcome(stopped, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
        QCOMPARE(dialogs.texts(), (QStringList{QStringLiteral("Операция прервана."),
                                               QStringLiteral("Операция прервана.\nЗаписано: 3. "
                                                              "Не записаны: товар 4. Остальные "
                                                              "не записывались.")}));
    }

    // "Да для всех" holds for every loop of the transfer; the question names
    // the item and has "Нет" for its default when the device did not answer.
    void yesForAllAndTheNamedQuestion() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.failureAnswers << FailureAnswer::ContinueAll;
        TransferOutcome outcome;
        ItemLoopOptions options;
        options.outcome = &outcome;
        options.itemName = [](int i) { return QStringLiteral("товар %1").arg(i); };
        const auto failOdd = [](int i) -> std::optional<ItemResult> {
            if (i % 2) return Fail();
            return ItemResult{};
        };
        QVERIFY(RunItemLoop(4, failOdd, options, progress, dialogs));
        QVERIFY(RunItemLoop(4, failOdd, options, progress, dialogs));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].item, QStringLiteral("товар 1"));
        QVERIFY(dialogs.shown[0].defaultNo);
        QCOMPARE(outcome.done, 4);
        QCOMPARE(outcome.failed,
                 (QStringList{QStringLiteral("товар 1"), QStringLiteral("товар 3"),
                              QStringLiteral("товар 1"), QStringLiteral("товар 3")}));
        QVERIFY(!outcome.stopped);

        // A device's refusal is an answer: "Да" stays the default.
        dialogs.clear();
        dialogs.failureAnswers << FailureAnswer::Stop;
        TransferOutcome refused;
        options.outcome = &refused;
        QVERIFY(!RunItemLoop(
            3,
            [](int) -> std::optional<ItemResult> {
                return ItemResult{StatusDeviceError, QByteArrayLiteral(" E")};
            },
            options, progress, dialogs));
        QVERIFY(!dialogs.shown[0].defaultNo);
        QVERIFY(refused.stopped && !refused.stopRequested);
    }

    // "Прервать" pressed while an exchange waits on a silent line: the loop
    // ends when that exchange does, without the question, and the failure
    // is the stop's.
    void stopDuringAFailingExchangeIsNoQuestion() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        TransferOutcome outcome;
        ItemLoopOptions options;
        options.outcome = &outcome;
        options.progressTotal = 5;
        options.itemName = [](int i) { return QStringLiteral("товар %1").arg(i); };
        int calls = 0;
        QVERIFY(!RunItemLoop(
            5,
            [&](int i) -> std::optional<ItemResult> {
                ++calls;
                if (i < 2) return ItemResult{};
                progress.stopAfterSteps = 0;  // clicked while the exchange waited
                return Fail();
            },
            options, progress, dialogs));
        QCOMPARE(calls, 3);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QVERIFY(outcome.stopRequested);
        QCOMPARE(outcome.interrupted, QStringLiteral("товар 2"));
        ReportOutcome(outcome, QStringLiteral("Записано удачно..."), WrittenWords(), dialogs);
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("Операция прервана.\nЗаписано: 2. Не записаны: товар "
                                            "2. Остальные не записывались.")});
    }

    void waitWindowCount() {
        QCOMPARE(ProgressCountText(QStringLiteral("Загрузка товаров..."), 517, 1001),
                 QStringLiteral("Загрузка товаров: 517 из 1001"));
        QCOMPARE(ProgressCountText(QString(), 3, 24), QStringLiteral("3 из 24"));
    }

    void indicatorsComeDownWhenACommandThrows() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        ItemLoopOptions options;
        bool thrown = false;
        try {
            RunItemLoop(
                2, [](int) -> std::optional<ItemResult> { throw std::runtime_error("x"); }, options,
                progress, dialogs);
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(!progress.busyNow);
        QCOMPARE(progress.log.last(), QStringLiteral("busy off"));
    }
};

QTEST_GUILESS_MAIN(TestItemLoop)
#include "tst_itemloop.moc"
