// The configuration file: its layout, the round trip, the lenient load of a
// file of any length, and saves that fail without touching the old file.

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#include <csignal>
#include <cstring>

#include "config/ConfigurationFile.h"
#include "config/DeviceConfiguration.h"
#include "shell/NewFileMode.h"
#include "support/FifoWatch.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/Unprivileged.h"

namespace {

QByteArray RandomBytes(QRandomGenerator& random, int size) {
    QByteArray bytes(size, '\0');
    for (char& b : bytes) b = char(random.bounded(256));
    return bytes;
}

void FillRandom(DeviceConfiguration& config, QRandomGenerator& random) {
    const QByteArray bytes = RandomBytes(random, int(sizeof config));
    std::memcpy(&config, bytes.constData(), sizeof config);
}

QByteArray Image(const DeviceConfiguration& config) {
    return QByteArray(reinterpret_cast<const char*>(&config), int(sizeof config));
}

// The file image of a configuration: the form table, then the rest.
QByteArray FileImage(const DeviceConfiguration& config) {
    return QByteArray(reinterpret_cast<const char*>(config.forms), int(FormTableSize)) +
           QByteArray(reinterpret_cast<const char*>(&config), int(ConfigurationBlockSize));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#ifdef Q_OS_UNIX
// Makes every write past `bytes` of a file fail as a full disk does; works for
// root, which file permissions would not stop.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};
#else
// Windows sets no limit on a file's size: the test that needs one skips.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long) {}
    bool active() const { return false; }
};
#endif

}  // namespace

class TestConfigurationFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void savedFileLayout();
    void roundTripRestoresEveryByte();
    void shortFileFillsOnlyWhatItReaches();
    void fileThatCannotBeOpened();
    void onlyARegularFileIsOpened();
    void readErrorKeepsWhatWasRead();
    void saveIntoAPathThatCannotExist();
    void saveThatFailsPartWayKeepsTheOldFile();
    void writableFileInAFolderTheUserCannotWrite();
    void anyFileLoadsWithoutHarm();
    void newFileIsReadableByItsOwnerOnly();
    void writableFileInAFolderThatRefusesNewFiles();

private:
    QTemporaryDir dir_;
    QRandomGenerator random_{4711};
    DeviceConfiguration config_{};
};

void TestConfigurationFile::init() {
    QVERIFY(dir_.isValid());
    std::memset(&config_, 0, sizeof config_);
    ResetFormTable(config_);
    ResetConfiguration(config_);
}

void TestConfigurationFile::savedFileLayout() {
    config_.forms[2] = FormSlot{0, 5, 2, 1};
    config_.reserved[0] = 0xA5;
    config_.reserved[ReservedSize - 1] = 0x5A;
    config_.cliches[1].status = 7;
    const QString path = dir_.filePath(QStringLiteral("layout.cfg"));
    ScriptedDialogs dialogs;
    QCOMPARE(SaveConfigurationFileInteractive(config_, path), ConfigurationFileResult::Ok);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Сохранено...")});
    QVERIFY(IsWarning(dialogs.shown[0]));

    const QByteArray file = ReadFile(path);
    QCOMPARE(file.size(), ConfigurationFileSize);
    QCOMPARE(file.mid(8, 4), QByteArray("\x00\x05\x02\x01", 4));
    QCOMPARE(uint8_t(file[32 + 1754]), uint8_t(0xA5));
    QCOMPARE(uint8_t(file[32 + 1754 + ReservedSize - 1]), uint8_t(0x5A));
    QCOMPARE(uint8_t(file[2418 + 209 + 208]), uint8_t(7));
    QCOMPARE(file, FileImage(config_));
}

void TestConfigurationFile::roundTripRestoresEveryByte() {
    FillRandom(config_, random_);
    const DeviceConfiguration saved = config_;
    const QString path = dir_.filePath(QStringLiteral("round.cfg"));
    QCOMPARE(SaveConfigurationFile(config_, path), ConfigurationFileResult::Ok);
    // Saving again over the file replaces it.
    QCOMPARE(SaveConfigurationFile(config_, path), ConfigurationFileResult::Ok);

    FillRandom(config_, random_);
    QVERIFY(Image(config_) != Image(saved));
    ScriptedDialogs dialogs;
    QCOMPARE(LoadConfigurationFileInteractive(config_, path), ConfigurationFileResult::Ok);
    QCOMPARE(Image(config_), Image(saved));
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Считано...")});
    QVERIFY(IsWarning(dialogs.shown[0]));
}

void TestConfigurationFile::shortFileFillsOnlyWhatItReaches() {
    const QString path = dir_.filePath(QStringLiteral("short.cfg"));
    const QByteArray bytes("\x00\x01\x02\x03\x00\x04\x05\x00\x00\x06", 10);
    QVERIFY(WriteFile(path, bytes));
    FillRandom(config_, random_);
    DeviceConfiguration expected = config_;
    std::memcpy(expected.forms, bytes.constData(), 10);

    ScriptedDialogs dialogs;
    QCOMPARE(LoadConfigurationFileInteractive(config_, path), ConfigurationFileResult::Ok);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Считано...")});
    QCOMPARE(Image(config_), Image(expected));
    QCOMPARE(int(config_.forms[2].status), 0);
    QCOMPARE(int(config_.forms[2].variant), 6);
}

void TestConfigurationFile::fileThatCannotBeOpened() {
    const QByteArray before = Image(config_);
    // The message names the file and why it did not open.
    const std::pair<QString, QString> cases[] = {
        {dir_.filePath(QStringLiteral("missing.cfg")), QStringLiteral("файл не найден")},
        {dir_.path(), QStringLiteral("это папка, а не файл")}};
    for (const auto& [path, cause] : cases) {
        ScriptedDialogs dialogs;
        QCOMPARE(LoadConfigurationFileInteractive(config_, path),
                 ConfigurationFileResult::CannotOpen);
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("Не удалось открыть файл...\n«%1»: %2.")
                                 .arg(QDir::toNativeSeparators(path), cause)});
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(Image(config_), before);
    }
}

// A FIFO would hold the program until some writer came; a device or a folder
// is no configuration either. None of them is even opened.
void TestConfigurationFile::onlyARegularFileIsOpened() {
#ifndef Q_OS_UNIX
    QSKIP("FIFOs and device files are Unix's own");
#endif
    const QString fifoPath = dir_.filePath(QStringLiteral("pipe.cfg"));
    FifoWatch fifo(fifoPath);
    QVERIFY(fifo.made());
    const QString linkToFifo = dir_.filePath(QStringLiteral("link-to-pipe.cfg"));
    QVERIFY(QFile::link(fifoPath, linkToFifo));
    const QByteArray before = Image(config_);
    for (const QString& path : {fifoPath, linkToFifo, QStringLiteral("/dev/null"), dir_.path()}) {
        ScriptedDialogs dialogs;
        QCOMPARE(LoadConfigurationFileInteractive(config_, path),
                 ConfigurationFileResult::CannotOpen);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY2(dialogs.texts()[0].startsWith(QStringLiteral("Не удалось открыть файл...\n«")),
                 qPrintable(dialogs.texts()[0]));
        QCOMPARE(Image(config_), before);
    }
    QVERIFY(!fifo.opened());

    // A link to a regular file is that file.
    const QString path = dir_.filePath(QStringLiteral("real.cfg"));
    const QString linkToFile = dir_.filePath(QStringLiteral("link-to-real.cfg"));
    const QByteArray bytes = RandomBytes(random_, ConfigurationFileSize);
    QVERIFY(WriteFile(path, bytes));
    QVERIFY(QFile::link(path, linkToFile));
    QCOMPARE(LoadConfigurationFile(config_, linkToFile), ConfigurationFileResult::Ok);
    QCOMPARE(FileImage(config_), bytes);
}

void TestConfigurationFile::readErrorKeepsWhatWasRead() {
    // The process's own memory opens but fails to read at offset 0.
    const QString path = QStringLiteral("/proc/self/mem");
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) QSKIP("no /proc/self/mem");
    char byte = 0;
    if (probe.read(&byte, 1) >= 0) QSKIP("/proc/self/mem reads at offset 0 here");
    probe.close();

    const QByteArray before = Image(config_);
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    progress.setBusyCursor(true);
    QCOMPARE(LoadConfigurationFileInteractive(config_, path), ConfigurationFileResult::ReadFailed);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Файл конфигурации некорректен...")});
    QVERIFY(IsWarning(dialogs.shown[0]));
    QVERIFY(!progress.busyNow);
    QCOMPARE(Image(config_), before);
}

void TestConfigurationFile::saveIntoAPathThatCannotExist() {
    const QString blocker = dir_.filePath(QStringLiteral("plain-file"));
    QVERIFY(WriteFile(blocker, "not a directory"));
    for (const QString& path : {blocker + QStringLiteral("/inside.cfg"),
                                dir_.filePath(QStringLiteral("gone/deeper/x.cfg"))}) {
        ScriptedDialogs dialogs;
        QCOMPARE(SaveConfigurationFileInteractive(config_, path),
                 ConfigurationFileResult::CannotCreate);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Не удалось создать файл...")});
        QVERIFY(IsError(dialogs.shown[0]));
    }
    QCOMPARE(ReadFile(blocker), QByteArray("not a directory"));
}

void TestConfigurationFile::saveThatFailsPartWayKeepsTheOldFile() {
    QTemporaryDir own;
    const QString path = own.filePath(QStringLiteral("kept.cfg"));
    const QByteArray old = RandomBytes(random_, ConfigurationFileSize);
    QVERIFY(WriteFile(path, old));
    FillRandom(config_, random_);

    ScriptedDialogs dialogs;
    {
        FileSizeLimit full(1000);
        if (!full.active()) QSKIP("cannot limit the file size here");
        QCOMPARE(SaveConfigurationFileInteractive(config_, path),
                 ConfigurationFileResult::CannotCreate);
    }
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Не удалось создать файл...")});
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.cfg")});

    // With room again the same save goes through.
    dialogs.clear();
    QCOMPARE(SaveConfigurationFileInteractive(config_, path), ConfigurationFileResult::Ok);
    QCOMPARE(ReadFile(path), FileImage(config_));
}

// A file others may write, in a folder the user may not: no temporary file can
// be made beside it, so it is written in place; a file the user may not write
// there, or a new one, still fails and changes nothing.
void TestConfigurationFile::writableFileInAFolderTheUserCannotWrite() {
    QTemporaryDir own;
    QVERIFY(OpenForEveryone(own.path()));
    const QString folder = own.filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkdir(folder));
    const QString shared = folder + QStringLiteral("/shared.cfg");
    const QString locked = folder + QStringLiteral("/locked.cfg");
    const QString fresh = folder + QStringLiteral("/new.cfg");
    const QByteArray old = RandomBytes(random_, ConfigurationFileSize + 100);
    QVERIFY(WriteFile(shared, old));
    QVERIFY(WriteFile(locked, old));
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                          QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(shared, everyone));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::ExeOther));
    FillRandom(config_, random_);

    const UnprivilegedRun run = RunUnprivileged([&] {
        return SaveConfigurationFile(config_, shared) == ConfigurationFileResult::Ok &&
               SaveConfigurationFile(config_, locked) == ConfigurationFileResult::CannotCreate &&
               SaveConfigurationFile(config_, fresh) == ConfigurationFileResult::CannotCreate;
    });
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (run.outcome == UnprivilegedOutcome::Unavailable) QSKIP(qPrintable(run.reason));
    QCOMPARE(ReadFile(shared), FileImage(config_));
    QCOMPARE(ReadFile(locked), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("locked.cfg"), QStringLiteral("shared.cfg")}));
    QCOMPARE(run.outcome, UnprivilegedOutcome::Passed);
}

// The file holds operators' passwords: a new one is the owner's alone; one
// that exists keeps the mode its owner gave it.
void TestConfigurationFile::newFileIsReadableByItsOwnerOnly() {
#ifndef Q_OS_UNIX
    QSKIP("file modes are Unix's; on Windows the user's own folders are private to the user");
#endif
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    const QString fresh = dir_.filePath(QStringLiteral("fresh.cfg"));
    QCOMPARE(SaveConfigurationFile(config_, fresh), ConfigurationFileResult::Ok);
    QCOMPARE(QFile::permissions(fresh) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(fresh) & QFile::WriteOwner);

    // Created with that mode, not narrowed after: whatever Qt creates on the
    // way (a named temporary file on a network or user-space file system) is
    // never open to others, even under a mask that would allow it.
#ifdef Q_OS_UNIX
    {
        const mode_t usual = ::umask(0);
        {
            OwnerOnlyFileCreation ownerOnly;
            QFile made(dir_.filePath(QStringLiteral("made-under-guard")));
            QVERIFY(made.open(QIODevice::WriteOnly));
            QCOMPARE(made.permissions() & others, QFileDevice::Permissions());
        }
        QCOMPARE(::umask(usual), mode_t(0));
        const QString open = dir_.filePath(QStringLiteral("open.cfg"));
        ::umask(0);
        const bool saved = SaveConfigurationFile(config_, open) == ConfigurationFileResult::Ok;
        ::umask(usual);
        QVERIFY(saved);
        QCOMPARE(QFile::permissions(open) & others, QFileDevice::Permissions());
    }
#endif

    const QString shared = dir_.filePath(QStringLiteral("shared-mode.cfg"));
    QVERIFY(WriteFile(shared, "old"));
    const auto wide = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(shared, wide));
    QCOMPARE(SaveConfigurationFile(config_, shared), ConfigurationFileResult::Ok);
    QCOMPARE(QFile::permissions(shared) & (wide | others), wide);
    QCOMPARE(ReadFile(shared), FileImage(config_));
}

// A folder that answers "operation not permitted" (the immutable attribute
// here, a network share elsewhere) refuses the temporary file as a folder
// without write permission does: a file that may be written there is written
// in place; a new one still fails.
void TestConfigurationFile::writableFileInAFolderThatRefusesNewFiles() {
    QTemporaryDir own;
    const QString folder = own.filePath(QStringLiteral("sealed"));
    QVERIFY(QDir().mkdir(folder));
    const QString existing = folder + QStringLiteral("/kept.cfg");
    QVERIFY(WriteFile(existing, "old"));
    const auto chattr = [&folder](const char* flag) {
        return QProcess::execute(QStringLiteral("chattr"), {QString::fromLatin1(flag), folder}) ==
               0;
    };
    if (!chattr("+i")) QSKIP("the immutable attribute cannot be set here");
    FillRandom(config_, random_);
    const ConfigurationFileResult inPlace = SaveConfigurationFile(config_, existing);
    const ConfigurationFileResult fresh =
        SaveConfigurationFile(config_, folder + QStringLiteral("/new.cfg"));
    QVERIFY(chattr("-i"));
    QCOMPARE(inPlace, ConfigurationFileResult::Ok);
    QCOMPARE(ReadFile(existing), FileImage(config_));
    QCOMPARE(fresh, ConfigurationFileResult::CannotCreate);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.cfg")});
}

void TestConfigurationFile::anyFileLoadsWithoutHarm() {
    // An empty file changes nothing; a longer one gives only its first 2836 bytes.
    const QString path = dir_.filePath(QStringLiteral("any.cfg"));
    for (int size : {0, 1, 31, 32, 33, 2835, 2836, 2837, 3000, 65536}) {
        const QByteArray bytes = RandomBytes(random_, size);
        QVERIFY(WriteFile(path, bytes));
        FillRandom(config_, random_);
        QByteArray expected = FileImage(config_);
        expected.replace(0, qMin(size, ConfigurationFileSize), bytes.left(ConfigurationFileSize));
        QCOMPARE(LoadConfigurationFile(config_, path), ConfigurationFileResult::Ok);
        QCOMPARE(FileImage(config_), expected);
    }
}

QTEST_APPLESS_MAIN(TestConfigurationFile)
#include "tst_configfile.moc"
