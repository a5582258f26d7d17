// The configuration's edits as steps: what an edit replaced comes back whole,
// a field that something else replaced since keeps that value, and keys in a
// row merge only when nothing came between them.
#include <QtTest>
#include <cstring>

#include "config/ConfigurationEdits.h"
#include "config/DeviceConfiguration.h"
#include "support/TestDevice.h"

namespace {

bool Equal(const DeviceConfiguration& a, const DeviceConfiguration& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class TestEdits : public QObject {
    Q_OBJECT

private slots:
    // Whichever byte an edit changes, undo gives back the configuration it
    // started from and redo the one it left: no byte lies outside a field.
    void everyByteIsTakenBackAndDoneAgain() {
        DeviceConfiguration start{};
        MarkConfiguration(start);
        for (std::size_t i = 0; i < sizeof(DeviceConfiguration); ++i) {
            DeviceConfiguration config = start;
            const ConfigurationChangeRecorder recorder(config);
            reinterpret_cast<unsigned char*>(&config)[i] ^= 0x5A;
            const DeviceConfiguration edited = config;
            const ConfigurationChange change = recorder.finish(config);
            QVERIFY(!change.isEmpty());
            QVERIFY2(RestoreBefore(config, change), qPrintable(QString::number(i)));
            QVERIFY2(Equal(config, start), qPrintable(QString::number(i)));
            QVERIFY(RestoreAfter(config, change));
            QVERIFY(Equal(config, edited));
        }
    }

    // "Очистить поля" on one page, then a read of one item from the device:
    // undoing the clearing brings back every other line, and the line just
    // read keeps the device's value; a field the clearing left alone is never
    // written, whatever it holds now.
    void aFieldReplacedSinceKeepsItsValue() {
        DeviceConfiguration config{};
        MarkConfiguration(config);
        const ConfigurationChangeRecorder recorder(config);
        for (ThreeLineRecord& service : config.services)
            for (DeviceText& line : service.lines) SetStored(line, "");
        const ConfigurationChange change = recorder.finish(config);
        QCOMPARE(change.itemsText(),
                 QStringLiteral("услуга 1, строка 1; услуга 1, строка 2; услуга 1, строка 3; "
                                "услуга 2, строка 1; услуга 2, строка 2 и ещё 19"));

        SetStored(config.services[2].lines[1], "0С УСТРОЙСТВА");  // read since
        SetStored(config.operators[0].name, "0ДРУГОЕ");           // not the clearing's
        QVERIFY(RestoreBefore(config, change));
        QCOMPARE(Stored(config.services[2].lines[1]), QStringLiteral("0С УСТРОЙСТВА"));
        QCOMPARE(Stored(config.services[2].lines[0]), QStringLiteral("0СТАРОЕ"));
        QCOMPARE(Stored(config.services[7].lines[2]), QStringLiteral("0СТАРОЕ"));
        QCOMPARE(Stored(config.operators[0].name), QStringLiteral("0ДРУГОЕ"));

        // Done again, the read line stays too: it no longer holds what the
        // clearing found there.
        QVERIFY(RestoreAfter(config, change));
        QCOMPARE(Stored(config.services[2].lines[1]), QStringLiteral("0С УСТРОЙСТВА"));
        QCOMPARE(Stored(config.services[2].lines[0]), QString());
        // Every field it touched replaced since: nothing to put back.
        DeviceConfiguration replaced{};
        MarkConfiguration(replaced);
        for (ThreeLineRecord& service : replaced.services)
            for (DeviceText& line : service.lines) SetStored(line, "0ИЗ ФАЙЛА");
        QVERIFY(!RestoreBefore(replaced, change));
        QVERIFY(!RestoreAfter(replaced, change));
    }

    // A line is put back whole, its width flag with it, never mixed with the
    // value that replaced it (a line one character apart from the edit's).
    void aLineComesBackWhole() {
        DeviceConfiguration config{};
        MarkConfiguration(config);
        SetStored(config.documentName, "0ABC");
        const ConfigurationChangeRecorder recorder(config);
        SetStored(config.documentName, "1ABD");
        const ConfigurationChange change = recorder.finish(config);
        QCOMPARE(change.itemsText(), QStringLiteral("название ДСО"));
        SetStored(config.documentName, "1XBD");
        QVERIFY(!RestoreBefore(config, change));
        QCOMPARE(Stored(config.documentName), QStringLiteral("1XBD"));
        SetStored(config.documentName, "1ABD");
        QVERIFY(RestoreBefore(config, change));
        QCOMPARE(Stored(config.documentName), QStringLiteral("0ABC"));
    }

    // Keys in a row are one step from the first's start to the last's end;
    // a change made between them (a read) keeps them apart.
    void changesMergeOnlyWhenNothingCameBetween() {
        DeviceConfiguration config{};
        MarkConfiguration(config);
        const DeviceConfiguration start = config;
        ConfigurationChangeRecorder first(config);
        SetStored(config.documentName, "0А");
        ConfigurationChange typed = first.finish(config);
        ConfigurationChangeRecorder second(config);
        SetStored(config.documentName, "0АБ");
        QVERIFY(MergeChanges(typed, second.finish(config)));
        QVERIFY(RestoreBefore(config, typed));
        QVERIFY(Equal(config, start));
        QVERIFY(RestoreAfter(config, typed));

        SetStored(config.documentName, "0ПРОЧИТАНО");
        ConfigurationChangeRecorder third(config);
        SetStored(config.documentName, "0ПРОЧИТАНО2");
        const ConfigurationChange later = third.finish(config);
        const ConfigurationChange kept = typed;
        QVERIFY(!MergeChanges(typed, later));
        QVERIFY(Equal(typed.after, kept.after));

        // Typed and typed away again: the merged step changes nothing.
        ConfigurationChangeRecorder away(config);
        SetStored(config.documentName, "0ПРОЧИТАНО");
        ConfigurationChange back = later;
        QVERIFY(MergeChanges(back, away.finish(config)));
        QVERIFY(back.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEdits)
#include "tst_edits.moc"
