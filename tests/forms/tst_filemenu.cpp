// The main window's ways into the form constructor: "Выгрузить из файла",
// "Загрузить в файл" and "Формы БСО", driven through their real file dialogs.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <cstring>
#include <functional>
#include <memory>

#include "app/MainWindow.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationSync.h"
#include "config/ui/ConfigurationUndo.h"
#include "device/DeviceLock.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/ui/GridPage.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

QByteArray Image(const DeviceConfiguration& config) {
    return QByteArray(reinterpret_cast<const char*>(&config), int(sizeof config));
}

QByteArray FileImage(const DeviceConfiguration& config) {
    return QByteArray(reinterpret_cast<const char*>(config.forms), int(FormTableSize)) +
           QByteArray(reinterpret_cast<const char*>(&config), int(ConfigurationBlockSize));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the file dialog that `action` opens with `answer`, once. Any other
// modal box the toolkit shows on its own (an overwrite question, a "file not
// found") is noted in `foreignBoxes` and closed, and a file dialog still open
// after the answer is cancelled, so the test never waits on a window.
void TriggerWithDialog(QAction* action, const std::function<void(QFileDialog*)>& answer,
                       QStringList& foreignBoxes) {
    bool queued = false;
    bool answered = false;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            foreignBoxes << box->text();
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (answered) {
                dialog->reject();
            } else if (!queued) {
                // Queued: a box that the answer opens must find this timer free to fire.
                queued = true;
                QTimer::singleShot(0, dialog, [&answer, &answered, dialog] {
                    answered = true;
                    answer(dialog);
                });
            }
        }
    });
    driver.start();
    action->trigger();
    driver.stop();
    QVERIFY(answered);
}

std::function<void(QFileDialog*)> Choose(const QString& path) {
    return [path](QFileDialog* dialog) {
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Конфигурация (*.cfg)")});
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("cfg"));
        // As the user types a name and presses Open or Save.
        dialog->setDirectory(QFileInfo(path).absolutePath());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QFileInfo(path).fileName());
        static_cast<QDialog*>(dialog)->accept();
    };
}

void Cancel(QFileDialog* dialog) {
    dialog->reject();
}

QColor CaptionColour(const QPushButton* button) {
    return button->palette().color(QPalette::ButtonText);
}

}  // namespace

class TestFileMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ScriptedDialogs> dialogs;
    QTemporaryDir dir;
    QStringList foreignBoxes;

private slots:
    void init();
    void cleanup();

    void cancellingEitherDialogChangesNothing();
    void saveReplacesTheFileAndLoadBringsEveryByteBack();
    void fileThatCannotBeOpenedStillOpensTheConstructor();
    void noLoadWhileAnExchangeRuns();
    void formsItemReadsTheTableAndShowsTheGroup();
    void formsItemWithoutAGroup();
    void closingAndReadingAskAboutConfigurationEdits();
    void formsItemWithGroupZero();
};

void TestFileMenu::init() {
    QVERIFY(dir.isValid());
    MainWindow::setSplashEnabled(false);
    window = std::make_unique<MainWindow>();
    QSignalSpy started(window.get(), &MainWindow::started);
    window->show();
    QVERIFY(started.wait(5000));
    window->EnableDeviceControls(true);
    UseEmulator();  // the window starts with no port
    MarkConfiguration(CurrentConfiguration());
    // As if the marked configuration came from a file: nothing of it is unsent.
    ProgramConfigurationSync().keepAll(CurrentConfiguration());
    dialogs = std::make_unique<ScriptedDialogs>();
    foreignBoxes.clear();
}

void TestFileMenu::cleanup() {
    QCOMPARE(foreignBoxes, QStringList());
    QCOMPARE(dialogs->unexpectedQuestions, 0);
    window.reset();
    dialogs.reset();
}

void TestFileMenu::cancellingEitherDialogChangesNothing() {
    const QByteArray before = Image(CurrentConfiguration());
    TriggerWithDialog(window->actLoadFile, Cancel, foreignBoxes);
    QVERIFY(!window->actSaveFile->isEnabled());
    QCOMPARE(window->currentPage(), nullptr);

    window->EnableSaveToFile();
    TriggerWithDialog(window->actSaveFile, Cancel, foreignBoxes);
    QCOMPARE(Image(CurrentConfiguration()), before);
    QCOMPARE(window->currentPage(), nullptr);
    QVERIFY(dialogs->shown.isEmpty());
}

void TestFileMenu::saveReplacesTheFileAndLoadBringsEveryByteBack() {
    DeviceConfiguration& config = CurrentConfiguration();
    config.forms[1] = FormSlot{0, 5, 3, 1};
    SetStored(config.requisites[2].lines[0], "0ЛИЦЕВОЙ СЧЕТ");
    config.reserved[7] = 0x5A;
    const QByteArray saved = Image(config);
    const QString path = dir.filePath(QStringLiteral("office.cfg"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older file") > 0);
    old.close();

    // The name is typed without its extension; the file that is there is replaced.
    window->EnableSaveToFile();
    TriggerWithDialog(window->actSaveFile, Choose(dir.filePath(QStringLiteral("office"))),
                      foreignBoxes);
    QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("Сохранено...")});
    QCOMPARE(ReadFile(path), FileImage(config));

    // An edit that went nowhere is asked about before the load replaces it;
    // "Нет" keeps it.
    MarkConfiguration(config);
    SetStored(config.services[0].lines[0], "0ПРАВКА");
    const QByteArray edited = Image(config);
    dialogs->clear();
    dialogs->answerNo();
    TriggerWithDialog(window->actLoadFile, Choose(path), foreignBoxes);
    QCOMPARE(dialogs->texts(),
             QStringList{QStringLiteral("Изменения не записаны в АС: услуга 1, строка 1; реквизит "
                                        "3, строка 1; форма 2.\nЗагрузить файл поверх них?")});
    QVERIFY(dialogs->shown[0].defaultNo);
    QCOMPARE(Image(config), edited);

    // A file is another configuration: the edits of the one it replaces are
    // no longer there to take back.
    window->configurationUndo()->record(QStringLiteral("Изменить"),
                                        [&] { SetStored(config.services[0].lines[1], "0ШАГ"); });
    QVERIFY(window->configurationUndo()->stack()->canUndo());
    dialogs->clear();
    dialogs->answerYes();
    TriggerWithDialog(window->actLoadFile, Choose(path), foreignBoxes);
    QCOMPARE(dialogs->texts().mid(1), QStringList{QStringLiteral("Считано...")});
    QCOMPARE(Image(config), saved);
    QVERIFY(!window->configurationUndo()->stack()->canUndo());
    // What the file holds is kept there: nothing is unsent now.
    QVERIFY(ProgramConfigurationSync().unsentItems(config).isEmpty());
    FormConstructorPage* page = window->constructorPage();
    QCOMPARE(window->currentPage(), page);
    QCOMPARE(CaptionColour(page->FormButtons[1]), QColor(Qt::red));
    QCOMPARE(page->GridModel->cell(1, 3), QStringLiteral("ЛИЦЕВОЙ СЧЕТ"));
}

// An edit on a page that went to neither the device nor a file is named before
// the window closes or a download replaces it; "Нет" keeps both.
void TestFileMenu::closingAndReadingAskAboutConfigurationEdits() {
    SetStored(CurrentConfiguration().operators[1].name, "0ПЕТРОВ");
    const QString question = QStringLiteral("Изменения не записаны в АС: оператор 2, Ф.И.О.\n");
    dialogs->answerNo();
    QVERIFY(!window->close());
    QCOMPARE(dialogs->texts(),
             QStringList{question + QStringLiteral("Закрыть программу без записи?")});
    QVERIFY(dialogs->shown[0].defaultNo);
    QVERIFY(window->isVisible());

    dialogs->clear();
    dialogs->answerNo();
    window->actDownload->trigger();
    QCOMPARE(dialogs->texts(),
             QStringList{question + QStringLiteral("Прочитать данные из АС поверх них?")});
    QVERIFY(InProcessEmulator().log().isEmpty());
    QCOMPARE(Stored(CurrentConfiguration().operators[1].name), QStringLiteral("0ПЕТРОВ"));

    // Once written, nothing is asked.
    dialogs->clear();
    dialogs->answerYes();
    window->actUpload->trigger();
    QCOMPARE(dialogs->texts().last(), QStringLiteral("Записано удачно..."));
    dialogs->clear();
    QVERIFY(window->close());
    QVERIFY(dialogs->shown.isEmpty());
}

void TestFileMenu::fileThatCannotBeOpenedStillOpensTheConstructor() {
    const QByteArray before = Image(CurrentConfiguration());
    TriggerWithDialog(window->actLoadFile, Choose(dir.filePath(QStringLiteral("missing.cfg"))),
                      foreignBoxes);
    QCOMPARE(dialogs->texts(),
             QStringList{
                 QStringLiteral("Не удалось открыть файл...\n«%1»: файл не найден.")
                     .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing.cfg"))))});
    QVERIFY(IsError(dialogs->shown[0]));
    QCOMPARE(Image(CurrentConfiguration()), before);
    QVERIFY(window->actSaveFile->isEnabled());
    QCOMPARE(window->currentPage(), window->constructorPage());
}

void TestFileMenu::noLoadWhileAnExchangeRuns() {
    const QByteArray before = Image(CurrentConfiguration());
    DeviceLock running;
    QVERIFY(running.acquired());
    bool dialogOpened = false;
    QTimer::singleShot(0, this, [&dialogOpened] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogOpened = true;
            dialog->reject();
        }
    });
    window->actLoadFile->trigger();
    QVERIFY(!dialogOpened);
    QCOMPARE(dialogs->shown.size(), 1);
    QVERIFY(IsWarning(dialogs->shown[0]));
    QCOMPARE(Image(CurrentConfiguration()), before);
    QVERIFY(!window->actSaveFile->isEnabled());
    QCOMPARE(window->currentPage(), nullptr);
}

void TestFileMenu::formsItemReadsTheTableAndShowsTheGroup() {
    DeviceEmulator& device = InProcessEmulator();
    device.setGroup(3);
    device.setForm(2, DeviceEmulator::Form{true, 6, 4, 2});
    device.setForm(5, DeviceEmulator::Form{false, 0, 0, 0});
    window->actForms->trigger();
    QVERIFY(dialogs->shown.isEmpty());
    QVERIFY(window->actSaveFile->isEnabled());
    FormConstructorPage* page = window->constructorPage();
    QCOMPARE(window->currentPage(), page);
    QCOMPARE(page->ValueLabels[0]->text(), QStringLiteral("3"));
    const FormSlot& read = CurrentConfiguration().forms[1];
    QCOMPARE(int(read.variant), 6);
    QCOMPARE(int(read.requisite), 4);
    QCOMPARE(int(read.kind), 2);
    for (int n = 1; n <= FormCount; ++n)
        QCOMPARE(CaptionColour(page->FormButtons[std::size_t(n - 1)]),
                 QColor(n == 5 ? Qt::red : Qt::black));
}

void TestFileMenu::formsItemWithoutAGroup() {
    InProcessEmulatorLink().setOpenFails(true);
    dialogs->answerNo();
    window->actForms->trigger();
    InProcessEmulatorLink().setOpenFails(false);
    QCOMPARE(dialogs->shown.size(), 1);
    QVERIFY(IsConfirmation(dialogs->shown[0]));
    QVERIFY(window->actSaveFile->isEnabled());
    QCOMPARE(window->currentPage(), window->constructorPage());
    QCOMPARE(window->constructorPage()->ValueLabels[0]->text(),
             FormConstructorPage::UnknownGroupText());
}

// Group 0 is an answer like any other: shown as it is, never as unknown.
void TestFileMenu::formsItemWithGroupZero() {
    InProcessEmulator().setGroup(0);
    window->actForms->trigger();
    QVERIFY(dialogs->shown.isEmpty());
    QCOMPARE(window->constructorPage()->ValueLabels[0]->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestFileMenu)
#include "tst_filemenu.moc"
