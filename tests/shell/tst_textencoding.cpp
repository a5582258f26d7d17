// The encoding of zelvo-cli's text into a pipe or a file: which one a run
// takes from --json, --encoding and the environment, and (on Windows) the
// bytes a Russian console's tools expect.
#include <QtTest>

#include "shell/TextEncoding.h"
#include "shell/TextOutput.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestTextEncoding : public QObject {
    Q_OBJECT

    QString error;

    TextEncoding Chosen(bool json, const QString* option, const QString& variable,
                        bool* accepted = nullptr) {
        TextEncoding encoding = TextEncoding::Ansi;
        error.clear();
        const bool ok = ChooseTextEncoding(json, option, variable, encoding, error);
        if (accepted) *accepted = ok;
        return encoding;
    }

private slots:
    void choice() {
        const QString oem = QStringLiteral("OEM"), utf8 = QStringLiteral("utf8"),
                      wrong = QStringLiteral("koi8-r");
        QCOMPARE(Chosen(false, nullptr, QString()), TextEncoding::ConsoleDefault);
        QCOMPARE(Chosen(false, &oem, QString()), TextEncoding::Oem);
        QCOMPARE(Chosen(false, &utf8, QString()), TextEncoding::Utf8);
        QCOMPARE(Chosen(false, nullptr, QStringLiteral(" ansi ")), TextEncoding::Ansi);
        // The option wins over the environment; JSON is UTF-8 whatever was asked.
        QCOMPARE(Chosen(false, &oem, QStringLiteral("ansi")), TextEncoding::Oem);
        QCOMPARE(Chosen(true, &oem, QStringLiteral("ansi")), TextEncoding::Utf8);
        QCOMPARE(Chosen(true, nullptr, QStringLiteral("oem")), TextEncoding::Utf8);
        // A stale variable does not stop the run; a wrong option does.
        bool accepted = false;
        QCOMPARE(Chosen(false, nullptr, QStringLiteral("cp866"), &accepted),
                 TextEncoding::ConsoleDefault);
        QVERIFY(accepted);
        Chosen(false, &wrong, QString(), &accepted);
        QVERIFY(!accepted);
        QCOMPARE(error,
                 QStringLiteral("Кодировка «koi8-r» не поддерживается; можно: utf-8, oem, ansi."));
        QCOMPARE(Chosen(true, &wrong, QString(), &accepted), TextEncoding::Utf8);
        QVERIFY(!accepted);
    }

    void bytesIntoAPipe() {
        const QString text = QStringLiteral("Порт COM5: АС\n");
        SetTextEncoding(TextEncoding::Utf8);
        QCOMPARE(EncodedText(text), text.toUtf8());
#ifdef Q_OS_WIN
        SetTextEncoding(TextEncoding::Oem);
        const QByteArray oem = EncodedText(text);
        if (GetOEMCP() == 866) QCOMPARE(oem.left(4), QByteArray("\x8f\xae\xe0\xe2"));
        // Whatever the system's page, the text comes back from it whole
        // where the page has the letters, and one byte a letter.
        SetTextEncoding(TextEncoding::Ansi);
        const QByteArray ansi = EncodedText(text);
        if (GetACP() == 1251) QCOMPARE(ansi.left(4), QByteArray("\xcf\xee\xf0\xf2"));
        QCOMPARE(ansi.size(), text.size());
#endif
        SetTextEncoding(TextEncoding::ConsoleDefault);
    }
};

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
