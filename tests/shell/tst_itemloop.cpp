// The one loop behind every multi-item transfer.
#include <QtTest>

#include "shell/ItemLoop.h"
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
