// Where the open and save dialogs start: the user's Documents folder until a
// file of that kind was chosen, then that file's folder, kept between runs;
// never the program's own folder, which the program is often started in.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "device/ExchangeLog.h"
#include "device/ui/ExchangeLogWindow.h"
#include "shell/DialogFolders.h"
#include "shell/ProgramSettings.h"
#include "shell/ui/FileDialogs.h"
#include "support/ScriptedDialogs.h"

namespace {

QString Same(const QString& folder) {
    return QDir(folder).canonicalPath();
}

QString Documents() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

class TestDialogFolders : public QObject {
    Q_OBJECT

    // A settings folder of this test's own: the user's file is never touched,
    // nor the one of Qt's test mode that other tests read at the same time.
    QTemporaryDir configuration;

private slots:
    void initTestCase() {
#ifdef Q_OS_WIN
        QStandardPaths::setTestModeEnabled(true);
#else
        QVERIFY(configuration.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuration.path()));
        QVERIFY(NewProgramSettings()->fileName().startsWith(configuration.path()));
#endif
    }
    void init() {
        NewProgramSettings()->remove(QStringLiteral("Folders"));
    }
    void cleanupTestCase() {
        NewProgramSettings()->remove(QStringLiteral("Folders"));
    }

    void firstDialogStartsInDocumentsNotTheWorkingFolder() {
        // As on Windows, where the program runs in its install folder.
        const QString before = QDir::currentPath();
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        QFileDialog dialog;
        StartInFolder(dialog, FileKind::Configuration);
        QDir::setCurrent(before);
        QCOMPARE(Same(dialog.directory().absolutePath()), Same(Documents()));
        for (FileKind kind :
             {FileKind::Goods, FileKind::GoodsCsv, FileKind::ExchangeLog, FileKind::FormPdf})
            QCOMPARE(Same(DialogFolder(kind)), Same(Documents()));
    }

    // Each kind keeps its own folder, in the settings file: a new run (a
    // fresh settings object) finds it again. A folder that is gone, or the
    // program's own, is not used.
    void laterDialogsStartInTheLastFolderOfTheirKind() {
        QTemporaryDir goods, logs;
        RememberDialogFolder(FileKind::Goods, goods.filePath(QStringLiteral("товары.base")));
        RememberDialogFolder(FileKind::ExchangeLog, logs.filePath(QStringLiteral("журнал.txt")));
        RememberDialogFolder(FileKind::FormPdf, QString());  // cancelled: nothing kept
        QCOMPARE(Same(DialogFolder(FileKind::Goods)), Same(goods.path()));
        QCOMPARE(Same(DialogFolder(FileKind::ExchangeLog)), Same(logs.path()));
        QCOMPARE(Same(DialogFolder(FileKind::FormPdf)), Same(Documents()));
        QCOMPARE(Same(DialogFolder(FileKind::GoodsCsv)), Same(Documents()));
        QVERIFY(NewProgramSettings()->contains(QStringLiteral("Folders/goods")));

        RememberDialogFolder(FileKind::GoodsCsv,
                             QCoreApplication::applicationDirPath() + QStringLiteral("/a.csv"));
        QCOMPARE(Same(DialogFolder(FileKind::GoodsCsv)), Same(Documents()));
        NewProgramSettings()->setValue(QStringLiteral("Folders/csv"),
                                       QCoreApplication::applicationDirPath());
        QCOMPARE(Same(DialogFolder(FileKind::GoodsCsv)), Same(Documents()));

        const QString gone = goods.path();
        goods.remove();
        QCOMPARE(Same(DialogFolder(FileKind::Goods)), Same(Documents()));
        QVERIFY(DialogFolder(FileKind::Goods) != gone);
    }

    // Through a real window: "Сохранить журнал..." starts in the folder the
    // last log went to, with the usual name proposed, and remembers the new one.
    void exchangeLogSaveDialog() {
        ScriptedDialogs dialogs;
        QTemporaryDir first, second;
        RememberDialogFolder(FileKind::ExchangeLog, first.filePath(QStringLiteral("x.txt")));
        ExchangeLog log;
        ExchangeLogWindow window(log);
        QString startedIn, proposed;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            startedIn = dialog->directory().absolutePath();
            proposed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            dialog->setDirectory(second.path());
            dialog->selectFile(second.filePath(QStringLiteral("журнал обмена.txt")));
            static_cast<QDialog*>(dialog)->accept();
        });
        window.saveClicked();
        QCOMPARE(Same(startedIn), Same(first.path()));
        QCOMPARE(proposed, QStringLiteral("журнал обмена.txt"));
        QCOMPARE(Same(DialogFolder(FileKind::ExchangeLog)), Same(second.path()));
    }
};

QTEST_MAIN(TestDialogFolders)
#include "tst_dialogfolders.moc"
