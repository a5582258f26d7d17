// The BSO form constructor page: what it offers per variant, how its toggle
// groups behave, and programming and reading a form against the emulator.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>
#include <memory>

#include "app/MainWindow.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/DeviceLock.h"
#include "device/PortNames.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "forms/FormPreview.h"
#include "forms/FormVariants.h"
#include "forms/ui/FormConstructorPage.h"
#include "forms/ui/FormPrintout.h"
#include "shell/ui/GridPage.h"
#include "support/ScriptedDialogs.h"

namespace {

void SetText(DeviceText& text, const QString& flagAndCharacters) {
    CopyToField(text.bytes, int(sizeof text.bytes), ToCp1251(flagAndCharacters));
}

QStringList ValueTexts(const FormConstructorPage& page) {
    QStringList texts;
    for (const QLabel* label : page.ValueLabels) texts << label->text();
    return texts;
}

QString PreviewOf(int form) {
    return FormPreviewLines(CurrentConfiguration(), form).join(QLatin1Char('\n'));
}

const QStringList Dashes(8, QStringLiteral("---"));

// Clicks `button` and answers the file dialog it opens by typing `name` in
// `folder` and pressing Save, after `check` has looked at the dialog. A
// question the dialog asks then (replace the file?) is answered Yes and its
// text returned; any other window is closed, so the test never waits on one.
QStringList ClickAndSaveAs(QPushButton* button, const QString& folder, const QString& name,
                           const std::function<void(QFileDialog*)>& check) {
    QStringList questions;
    bool answered = false;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << box->text();
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->close();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !answered) {
            answered = true;
            // Queued: the question that Save may open must find this timer free to fire.
            QTimer::singleShot(0, dialog, [&, dialog] {
                check(dialog);
                dialog->setDirectory(folder);
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
                static_cast<QDialog*>(dialog)->accept();
            });
        } else if (modal) {
            modal->close();
        }
    });
    driver.start();
    button->click();
    return questions;
}

// The text of a PDF, line by line, as a reader extracting it sees it; the
// spaces at line ends carry nothing on paper and are dropped.
QStringList PdfTextLines(const QString& path) {
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                   QStringLiteral("-")});
    if (!extract.waitForFinished(30000) || extract.exitCode() != 0) return {};
    QStringList lines = QString::fromUtf8(extract.readAllStandardOutput())
                            .remove(QLatin1Char('\f'))
                            .split(QLatin1Char('\n'));
    for (QString& line : lines) {
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class TestConstructor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void freshPage();
    void absentFormIsRed();
    void fillShowsTheRequisites();
    void controlsPerVariant_data();
    void controlsPerVariant();
    void form3WithVariant5AndRequisite2();
    void variant1WithCodeKindStored();
    void choosingAVariantStoresItAndKeepsRequisiteAndKind();
    void releasingTheVariantKeepsTheSlot();
    void kindAndRequisiteChoices();
    void fillKeepsThePressedButtons();
    void refusalsWithoutASelection();
    void programmingSendsTheSlot();
    void deviceFailuresChangeNothing();
    void readingStoresTheAnswer();
    void readingValuesOutOfRange();
    void deviceBusyRefusesBoth();
    void helpOpensModally();
    void exitAsksFirst();
    void anyConfigurationBytesAreShownSafely();
    void pdfHoldsThePreviewAsPrinted();
    void printAndPdfWithoutAPreview();
    void printWhereNothingCanPrint();
    void previewTextGrowsWithTheRoom();

private:
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FormConstructorPage> page_;
};

void TestConstructor::init() {
    DeviceConfiguration& config = CurrentConfiguration();
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    InProcessEmulator().reset();
    InProcessEmulatorLink().setOpenFails(false);
    SetLinkOverride(&InProcessEmulatorLink());
    PortSettings& settings = CurrentPortSettings();
    settings.PortName = EmulatorPortName();
    settings.MachineNumber = QByteArrayLiteral("0");
    settings.ByteTimeout = DefaultByteTimeout;
    settings.TotalTimeout = DefaultTotalTimeout;
    settings.BaudRate = DefaultBaudRate;
    dialogs_ = std::make_unique<ScriptedDialogs>();
    page_ = std::make_unique<FormConstructorPage>();
    page_->Fill();
    page_->show();
}

void TestConstructor::cleanup() {
    if (dialogs_) QCOMPARE(dialogs_->unexpectedQuestions, 0);
    page_.reset();
    dialogs_.reset();
    SetLinkOverride(nullptr);
}

void TestConstructor::freshPage() {
    FormConstructorPage& page = *page_;
    for (QPushButton* button : page.FormButtons) {
        QVERIFY(button->isEnabled());
        QVERIFY(!button->isChecked());
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(Qt::black));
    }
    for (QPushButton* button : page.VariantButtons) QVERIFY(!button->isEnabled());
    QVERIFY(page.RequisiteControls->isHidden());
    QVERIFY(page.DiscountControls->isHidden());
    QVERIFY(page.preview->toPlainText().isEmpty());
    QCOMPARE(page.CurrentFormLabel->text(), QStringLiteral("-"));
    QCOMPARE(ValueTexts(page).mid(1), Dashes.mid(1));
    QVERIFY(dialogs_->shown.isEmpty());
}

void TestConstructor::absentFormIsRed() {
    CurrentConfiguration().forms[4].status = 0;
    page_->Fill();
    for (int i = 0; i < FormCount; ++i)
        QCOMPARE(page_->FormButtons[std::size_t(i)]->palette().color(QPalette::ButtonText),
                 QColor(i == 4 ? Qt::red : Qt::black));
    CurrentConfiguration().forms[4].status = 1;
    page_->Fill();
    QCOMPARE(page_->FormButtons[4]->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

void TestConstructor::fillShowsTheRequisites() {
    ThreeLineRecord& requisite = CurrentConfiguration().requisites[2];
    SetText(requisite.lines[0], QStringLiteral("1ШИРОКИЙ"));
    SetText(requisite.lines[2], QStringLiteral("0ТРЕТЬЯ СТРОКА"));
    requisite.access = 0;
    page_->Fill();
    const GridTextModel& grid = *page_->GridModel;
    QCOMPARE(grid.cell(0, 3), QStringLiteral("3"));
    QCOMPARE(grid.cell(1, 3), QStringLiteral("ШИРОКИЙ"));
    QCOMPARE(grid.cell(2, 3), QString());
    QCOMPARE(grid.cell(3, 3), QStringLiteral("ТРЕТЬЯ СТРОКА"));
    QCOMPARE(grid.cell(4, 3), QStringLiteral("нет"));
    QCOMPARE(grid.cell(4, 1), QStringLiteral("да"));
    QCOMPARE(grid.cell(0, 8), QStringLiteral("8"));
}

void TestConstructor::controlsPerVariant_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("requisite");
    QTest::addColumn<bool>("discount");
    QTest::addColumn<bool>("code");
    QTest::newRow("none") << 0 << false << false << true;
    QTest::newRow("1") << 1 << true << true << false;
    QTest::newRow("2") << 2 << false << false << false;
    QTest::newRow("3") << 3 << true << true << true;
    QTest::newRow("4") << 4 << false << false << false;
    QTest::newRow("5") << 5 << true << false << false;
    QTest::newRow("6") << 6 << true << true << true;
    QTest::newRow("unknown 9") << 9 << false << false << true;
}

void TestConstructor::controlsPerVariant() {
    QFETCH(int, variant);
    QFETCH(bool, requisite);
    QFETCH(bool, discount);
    QFETCH(bool, code);
    CurrentConfiguration().forms[0].variant = uint8_t(variant);
    FormConstructorPage& page = *page_;
    page.FormButtons[0]->click();
    QCOMPARE(page.selectedForm(), 1);
    QCOMPARE(page.CurrentFormLabel->text(), QStringLiteral("1"));
    for (QPushButton* button : page.VariantButtons) QVERIFY(button->isEnabled());
    QCOMPARE(page.pressedVariant(), variant <= 6 ? variant : 0);
    QCOMPARE(!page.RequisiteControls->isHidden(), requisite);
    QCOMPARE(!page.DiscountControls->isHidden(), discount);
    QCOMPARE(!page.TypeButtons[2]->isHidden(), code);
    QCOMPARE(page.preview->toPlainText(), PreviewOf(1));
    const FormVariant* row = FormVariantOf(variant);
    QCOMPARE(ValueTexts(page), row ? row->valueTexts() : QStringList(8, QString()));
}

void TestConstructor::form3WithVariant5AndRequisite2() {
    SetText(CurrentConfiguration().requisites[1].lines[1], QStringLiteral("0ЛИЦЕВОЙ СЧЕТ"));
    CurrentConfiguration().forms[2] = FormSlot{1, 5, 2, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[2]->click();
    QCOMPARE(page.pressedVariant(), 5);
    QVERIFY(!page.RequisiteControls->isHidden());
    QVERIFY(page.DiscountControls->isHidden());
    QCOMPARE(page.requisiteCombo->currentIndex(), 2);
    QCOMPARE(page.requisiteCombo->currentText(), QStringLiteral(" 2"));
    QCOMPARE(page.CurrentFormLabel->text(), QStringLiteral("3"));
    QCOMPARE(ValueTexts(page),
             (QStringList{QStringLiteral("3"), QStringLiteral("1620000"), QStringLiteral("3"),
                          QStringLiteral("7"), QStringLiteral("есть"), QStringLiteral("нет"),
                          QStringLiteral("нет"), QStringLiteral("нет")}));
    const QString preview = page.preview->toPlainText();
    QCOMPARE(preview, PreviewOf(3));
    QVERIFY(preview.contains(QStringLiteral("\n                 *000.00\nЛИЦЕВОЙ СЧЕТ\nИТОГО")));
}

void TestConstructor::variant1WithCodeKindStored() {
    CurrentConfiguration().forms[1] = FormSlot{1, 1, 0, 3};
    FormConstructorPage& page = *page_;
    page.FormButtons[1]->click();
    QVERIFY(!page.DiscountControls->isHidden());
    QVERIFY(page.TypeButtons[2]->isHidden());
    QVERIFY(page.TypeButtons[2]->isChecked());
    QVERIFY(page.preview->toPlainText().contains(QStringLiteral("\nКОД \nИТОГО")));

    page.writeButton->click();
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Бланк удачно запрограммированн...")});
    const DeviceEmulator::Form sent = InProcessEmulator().form(2);
    QCOMPARE(int(sent.variant), 1);
    QCOMPARE(int(sent.kind), 3);
}

void TestConstructor::choosingAVariantStoresItAndKeepsRequisiteAndKind() {
    CurrentConfiguration().forms[3] = FormSlot{1, 0, 6, 2};
    FormConstructorPage& page = *page_;
    page.FormButtons[3]->click();
    QCOMPARE(ValueTexts(page), Dashes);
    page.VariantButtons[1]->click();
    QCOMPARE(int(CurrentConfiguration().forms[3].variant), 2);
    QCOMPARE(page.pressedVariant(), 2);
    QVERIFY(page.RequisiteControls->isHidden());
    QVERIFY(page.DiscountControls->isHidden());
    QCOMPARE(ValueTexts(page).first(), QStringLiteral("1"));

    page.VariantButtons[5]->click();  // another variant: the first one lets go
    QCOMPARE(page.pressedVariant(), 6);
    QVERIFY(!page.VariantButtons[1]->isChecked());
    QCOMPARE(int(CurrentConfiguration().forms[3].variant), 6);
    QCOMPARE(int(CurrentConfiguration().forms[3].requisite), 6);
    QCOMPARE(int(CurrentConfiguration().forms[3].kind), 2);
    QVERIFY(!page.RequisiteControls->isHidden());
    QVERIFY(!page.DiscountControls->isHidden());
    QVERIFY(!page.TypeButtons[2]->isHidden());
    QCOMPARE(page.requisiteCombo->currentIndex(), 6);
    QVERIFY(page.TypeButtons[1]->isChecked());
    QVERIFY(page.preview->toPlainText().contains(QStringLiteral("НАЛОГ 00%        *00.00")));
}

void TestConstructor::releasingTheVariantKeepsTheSlot() {
    CurrentConfiguration().forms[0] = FormSlot{1, 5, 1, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[0]->click();
    page.VariantButtons[4]->click();  // the pressed one: it lets go
    QCOMPARE(page.pressedVariant(), 0);
    QVERIFY(page.preview->toPlainText().isEmpty());
    QVERIFY(page.RequisiteControls->isHidden());
    QCOMPARE(ValueTexts(page), QStringList{QString()} + Dashes.mid(1));
    QCOMPARE(int(CurrentConfiguration().forms[0].variant), 5);

    page.writeButton->click();
    QCOMPARE(dialogs_->shown.size(), 1);
    QVERIFY(IsWarning(dialogs_->shown[0]));
    QCOMPARE(dialogs_->shown[0].text, QStringLiteral("Не выбран вариант для программирования."));
    QVERIFY(InProcessEmulator().log().isEmpty());

    page.FormButtons[0]->click();  // the form lets go too
    QCOMPARE(page.selectedForm(), 0);
    QCOMPARE(page.CurrentFormLabel->text(), QStringLiteral("-"));
    for (QPushButton* button : page.VariantButtons) QVERIFY(!button->isEnabled());
}

void TestConstructor::kindAndRequisiteChoices() {
    SetText(CurrentConfiguration().requisites[3].lines[0], QStringLiteral("0ЧЕТВЕРТЫЙ"));
    CurrentConfiguration().forms[6] = FormSlot{1, 3, 0, 0};
    FormConstructorPage& page = *page_;
    FormSlot& slot = CurrentConfiguration().forms[6];
    page.FormButtons[6]->click();
    page.TypeButtons[1]->click();
    QCOMPARE(int(slot.kind), 2);
    page.TypeButtons[0]->click();
    QCOMPARE(int(slot.kind), 1);
    QVERIFY(!page.TypeButtons[1]->isChecked());
    QVERIFY(page.preview->toPlainText().contains(QStringLiteral("СКИДКА 00%")));
    page.TypeButtons[0]->click();  // all up
    QCOMPARE(int(slot.kind), 0);
    QCOMPARE(page.preview->toPlainText(), PreviewOf(7));

    emit page.requisiteCombo->activated(4);
    QCOMPARE(int(slot.requisite), 4);
    QVERIFY(page.preview->toPlainText().contains(QStringLiteral("\nЧЕТВЕРТЫЙ\n")));
    emit page.requisiteCombo->activated(0);
    QCOMPARE(int(slot.requisite), 0);
    QVERIFY(!page.preview->toPlainText().contains(QStringLiteral("ЧЕТВЕРТЫЙ")));
}

void TestConstructor::fillKeepsThePressedButtons() {
    CurrentConfiguration().forms[2] = FormSlot{1, 6, 0, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[2]->click();
    page.Fill();
    QVERIFY(page.FormButtons[2]->isChecked());
    QVERIFY(page.VariantButtons[5]->isChecked());
    QCOMPARE(page.CurrentFormLabel->text(), QStringLiteral("-"));
    for (QPushButton* button : page.VariantButtons) QVERIFY(!button->isEnabled());
    QVERIFY(page.RequisiteControls->isHidden());
    QVERIFY(page.preview->toPlainText().isEmpty());

    page.setCurrentGroup(3);
    page.Fill();  // nor the group
    QCOMPARE(page.ValueLabels[0]->text(), QStringLiteral("3"));
    page.setCurrentGroup(0);  // a group the device can report
    QCOMPARE(page.ValueLabels[0]->text(), QStringLiteral("0"));
    page.setCurrentGroup(std::nullopt);  // the state query failed
    QCOMPARE(page.ValueLabels[0]->text(), QStringLiteral("---"));
}

void TestConstructor::refusalsWithoutASelection() {
    FormConstructorPage& page = *page_;
    page.readButton->click();
    page.VariantButtons[0]->setChecked(true);  // a variant click without a form
    page.variantButtonClicked();
    page.writeClicked();
    QCOMPARE(dialogs_->texts(),
             (QStringList{QStringLiteral("Не выбрана форма для чтения."),
                          QStringLiteral("Не выбрана форма..."),
                          QStringLiteral("Не выбрана форма для программирования.")}));
    QVERIFY(IsError(dialogs_->shown[0]));
    QVERIFY(IsWarning(dialogs_->shown[1]));
    QVERIFY(IsError(dialogs_->shown[2]));
    QVERIFY(InProcessEmulator().log().isEmpty());
}

void TestConstructor::programmingSendsTheSlot() {
    CurrentPortSettings().MachineNumber = QByteArrayLiteral("1234567");
    InProcessEmulator().setFactoryNumber(1234567);
    CurrentConfiguration().forms[4] = FormSlot{0, 6, 4, 2};
    FormConstructorPage& page = *page_;
    page.FormButtons[4]->click();
    const DeviceConfiguration before = CurrentConfiguration();
    page.writeButton->click();
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Бланк удачно запрограммированн...")});
    QVERIFY(IsWarning(dialogs_->shown[0]));
    QCOMPARE(InProcessEmulator().log().size(), 1);
    const QByteArray request = InProcessEmulator().log().first().request;
    QCOMPARE(request.size(), FormRequestLength);
    QCOMPARE(uint8_t(request[6]), CmdForm);
    QCOMPARE(request.mid(8, 5), QByteArray("\x00\x05\x06\x04\x02", 5));
    const DeviceEmulator::Form form = InProcessEmulator().form(5);
    QCOMPARE(int(form.variant), 6);
    QCOMPARE(int(form.requisite), 4);
    QCOMPARE(int(form.kind), 2);
    QVERIFY(std::memcmp(&before, &CurrentConfiguration(), sizeof before) == 0);
}

void TestConstructor::deviceFailuresChangeNothing() {
    InProcessEmulator().setWorkingMode(true);  // a present form cannot be programmed again
    CurrentConfiguration().forms[0] = FormSlot{1, 2, 0, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[0]->click();
    const DeviceConfiguration before = CurrentConfiguration();
    page.writeButton->click();
    QCOMPARE(dialogs_->shown.size(), 1);
    QVERIFY(IsError(dialogs_->shown[0]));
    QCOMPARE(dialogs_->shown[0].text, QStringLiteral("Не удалось запрограммировать бланк... ") +
                                          FromCp1251(DeviceErrorText(DeviceEmulator::ErrorMode)));
    QVERIFY(std::memcmp(&before, &CurrentConfiguration(), sizeof before) == 0);

    dialogs_->clear();
    const QString preview = page.preview->toPlainText();
    InProcessEmulatorLink().setOpenFails(true);
    page.readButton->click();
    InProcessEmulatorLink().setOpenFails(false);
    QCOMPARE(dialogs_->shown.size(), 1);
    QVERIFY(IsError(dialogs_->shown[0]));
    QCOMPARE(dialogs_->shown[0].text,
             QStringLiteral("Не удалось прочитать бланк... Не удалось открыть порт."));
    QVERIFY(std::memcmp(&before, &CurrentConfiguration(), sizeof before) == 0);
    QCOMPARE(page.preview->toPlainText(), preview);
    QCOMPARE(page.pressedVariant(), 2);

    // A machine number that does not convert stops before anything is sent.
    InProcessEmulator().clearLog();
    dialogs_->clear();
    CurrentPortSettings().MachineNumber = QByteArrayLiteral("99999999999");
    page.writeButton->click();
    QCOMPARE(dialogs_->shown.size(), 1);
    QVERIFY(IsError(dialogs_->shown[0]));
    QVERIFY(InProcessEmulator().log().isEmpty());
    QVERIFY(!DeviceLock::busy());
}

void TestConstructor::readingStoresTheAnswer() {
    SetText(CurrentConfiguration().requisites[3].lines[2], QStringLiteral("1ЧЕТЫРЕ"));
    InProcessEmulator().setForm(4, DeviceEmulator::Form{true, 6, 4, 2});
    CurrentConfiguration().forms[3] = FormSlot{0, 0, 0, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[3]->click();
    page.readButton->click();
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Бланк удачно прочитан...")});
    QVERIFY(IsWarning(dialogs_->shown[0]));
    const FormSlot& slot = CurrentConfiguration().forms[3];
    QCOMPARE(int(slot.status), 0);  // a read leaves the status alone
    QCOMPARE(int(slot.variant), 6);
    QCOMPARE(int(slot.requisite), 4);
    QCOMPARE(int(slot.kind), 2);
    QCOMPARE(page.pressedVariant(), 6);
    QVERIFY(page.TypeButtons[1]->isChecked());
    QCOMPARE(page.requisiteCombo->currentText(), QStringLiteral(" 4"));
    QVERIFY(!page.RequisiteControls->isHidden());
    QVERIFY(!page.DiscountControls->isHidden());
    QCOMPARE(page.preview->toPlainText(), PreviewOf(4));
    QVERIFY(page.preview->toPlainText().contains(QStringLiteral("Ч Е Т Ы Р Е ")));
    QCOMPARE(ValueTexts(page), Dashes);  // a read does not refresh the values
    const QByteArray request = InProcessEmulator().log().first().request;
    QCOMPARE(request.mid(8, 2), QByteArray("\x01\x04", 2));
}

void TestConstructor::readingValuesOutOfRange() {
    for (ThreeLineRecord& requisite : CurrentConfiguration().requisites)
        SetText(requisite.lines[0], QStringLiteral("0РЕКВИЗИТ"));
    InProcessEmulator().setForm(8, DeviceEmulator::Form{true, 9, 12, 7});
    FormConstructorPage& page = *page_;
    page.FormButtons[7]->click();
    page.readButton->click();
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Бланк удачно прочитан...")});
    const FormSlot& slot = CurrentConfiguration().forms[7];
    QCOMPARE(int(slot.variant), 9);
    QCOMPARE(int(slot.requisite), 12);
    QCOMPARE(int(slot.kind), 7);
    QCOMPARE(page.pressedVariant(), 0);
    QCOMPARE(page.requisiteCombo->currentIndex(), -1);
    for (QPushButton* button : page.TypeButtons) QVERIFY(!button->isChecked());
    QVERIFY(!page.preview->toPlainText().contains(QStringLiteral("РЕКВИЗИТ")));

    // Selecting the form again shows the unknown variant with empty values.
    page.FormButtons[7]->click();
    page.FormButtons[7]->click();
    QCOMPARE(ValueTexts(page), QStringList(8, QString()));
    QCOMPARE(page.pressedVariant(), 0);
}

void TestConstructor::deviceBusyRefusesBoth() {
    CurrentConfiguration().forms[0] = FormSlot{1, 2, 0, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[0]->click();
    {
        DeviceLock running;
        QVERIFY(running.acquired());
        page.writeButton->click();
        page.readButton->click();
    }
    QCOMPARE(dialogs_->shown.size(), 2);
    QVERIFY(IsWarning(dialogs_->shown[0]));
    QVERIFY(IsWarning(dialogs_->shown[1]));
    QVERIFY(InProcessEmulator().log().isEmpty());
}

void TestConstructor::helpOpensModally() {
    QString title;
    QString firstLine;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            if (auto* memo = dialog->findChild<QPlainTextEdit*>())
                firstLine = memo->toPlainText().section(QLatin1Char('\n'), 0, 0);
            dialog->reject();
        }
    });
    closer.start();
    page_->helpButton->click();
    closer.stop();
    QCOMPARE(title, QStringLiteral("Справка"));
    QVERIFY(firstLine.startsWith(QStringLiteral("ГРУППА 1:")));
    QVERIFY(page_->helpButton->text().isEmpty());
    QVERIFY(!page_->helpButton->icon().isNull());
}

void TestConstructor::exitAsksFirst() {
    MainWindow mainWindow;
    page_->setPageHost(&mainWindow);
    mainWindow.ShowMainPage(page_.get());
    dialogs_->answerNo();
    page_->exitButton->click();
    QCOMPARE(mainWindow.currentPage(), page_.get());
    QVERIFY(IsConfirmation(dialogs_->shown.last()));
    QCOMPARE(dialogs_->shown.last().text,
             QStringLiteral("Вы действительно хотите выйти из конструктора форм?"));
    dialogs_->answerYes();
    page_->exitButton->click();
    QCOMPARE(mainWindow.currentPage(), nullptr);
    QVERIFY(page_->isHidden());
    page_->setPageHost(nullptr);
}

void TestConstructor::anyConfigurationBytesAreShownSafely() {
    QRandomGenerator random(7);
    FormConstructorPage& page = *page_;
    for (int round = 0; round < 40; ++round) {
        auto* bytes = reinterpret_cast<quint8*>(&CurrentConfiguration());
        for (std::size_t i = 0; i < sizeof(DeviceConfiguration); ++i)
            bytes[i] = quint8(round % 4 == 0 ? 0xFF : random.bounded(256));
        page.Fill();
        for (int form = 0; form < FormCount; ++form) {
            page.FormButtons[std::size_t(form)]->click();
            const QStringList shown = page.preview->toPlainText().split(QLatin1Char('\n'));
            QCOMPARE(shown.size(), FormPreviewLines(CurrentConfiguration(), form + 1).size());
            for (const QString& line : shown) QVERIFY(line.size() <= PreviewLineWidth);
            if (page.pressedVariant())
                page.VariantButtons[std::size_t(page.pressedVariant() - 1)]->click();
        }
        for (int r = 1; r <= RequisiteCount; ++r)
            QVERIFY(page.GridModel->cell(1, r).size() <= PreviewLineWidth);
    }
    QVERIFY(dialogs_->shown.isEmpty());
}

void TestConstructor::pdfHoldsThePreviewAsPrinted() {
#ifdef Q_OS_WIN
    QSKIP("pdftotext, which reads the PDF back, is a Linux program");
#endif
    DeviceConfiguration& config = CurrentConfiguration();
    SetText(config.cliches[0].lines[0], QStringLiteral("1ООО РОМАШКА"));  // wide print
    SetText(config.cliches[0].lines[1], QStringLiteral("0Г. МОСКВА, УЛ. ЛЕНИНА 1"));
    SetText(config.requisites[1].lines[1], QStringLiteral("0ЛИЦЕВОЙ СЧЕТ"));
    config.forms[2] = FormSlot{1, 5, 2, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[2]->click();
    const QStringList preview = page.preview->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(preview.contains(QStringLiteral("О О О   Р О М А Ш К А ")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Форма 3.pdf"));
    ClickAndSaveAs(page.pdfButton, dir.path(), QStringLiteral("Форма 3"), [](QFileDialog* dialog) {
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("pdf"));
        QCOMPARE(dialog->selectedFiles().value(0).section(QLatin1Char('/'), -1),
                 QStringLiteral("Форма 3.pdf"));
    });
    QVERIFY(dialogs_->shown.isEmpty());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext (Debian poppler-utils) reads the PDF back");
    QStringList expected = preview;
    for (QString& line : expected) {
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    }
    QCOMPARE(PdfTextLines(path), expected);

    // Saved again over the file, once the user agrees: still the one page.
    page.FormButtons[2]->click();
    page.FormButtons[2]->click();
    const QStringList questions = ClickAndSaveAs(
        page.pdfButton, dir.path(), QStringLiteral("Форма 3.pdf"), [](QFileDialog*) {});
    QCOMPARE(questions.size(), 1);
    QVERIFY(dialogs_->shown.isEmpty());
    QCOMPARE(PdfTextLines(path), expected);

    // A folder that takes no new file, even for root: the user is told.
    ClickAndSaveAs(page.pdfButton, QStringLiteral("/proc/self"), QStringLiteral("Форма 3.pdf"),
                   [](QFileDialog*) {});
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Не удалось создать файл...")});
    QVERIFY(IsError(dialogs_->shown[0]));
}

void TestConstructor::printAndPdfWithoutAPreview() {
    FormConstructorPage& page = *page_;
    QTemporaryDir dir;
    const auto noDialog = [](QFileDialog*) { QFAIL("no dialog without a preview"); };
    ClickAndSaveAs(page.printButton, dir.path(), QStringLiteral("x.pdf"), noDialog);
    CurrentConfiguration().forms[0].variant = 2;
    page.FormButtons[0]->click();
    page.VariantButtons[1]->click();  // let up: the form stays chosen, its preview goes
    ClickAndSaveAs(page.pdfButton, dir.path(), QStringLiteral("x.pdf"), noDialog);
    QCOMPARE(dialogs_->texts(), QStringList(2, QStringLiteral("Не выбрана форма для печати.")));
    QVERIFY(IsWarning(dialogs_->shown[0]));
    QVERIFY(QDir(dir.path()).isEmpty());
}

// A machine without a printer (or a program without the system's print
// support) is told so, instead of a print dialog that opens nothing.
void TestConstructor::printWhereNothingCanPrint() {
    QPrinter printer(QPrinter::HighResolution);
    const QString reason = PrintingUnavailableReason(printer);
    if (reason.isEmpty()) QSKIP("this machine has a printer");
    CurrentConfiguration().forms[2] = FormSlot{1, 5, 2, 0};
    FormConstructorPage& page = *page_;
    page.FormButtons[2]->click();
    QVERIFY(!page.preview->toPlainText().isEmpty());
    QTemporaryDir dir;
    ClickAndSaveAs(page.printButton, dir.path(), QStringLiteral("x.pdf"),
                   [](QFileDialog*) { QFAIL("printing asks for no file"); });
    QCOMPARE(dialogs_->texts(), QStringList{reason});
    QVERIFY(IsError(dialogs_->shown[0]));
    QVERIFY(reason.contains(QStringLiteral("PDF")));
}

// The printed form fills a larger preview, as wide as its box's tighter
// direction allows; at the smallest page it is the size it always was.
void TestConstructor::previewTextGrowsWithTheRoom() {
    FormConstructorPage& page = *page_;
    page.resize(page.minimumSize());
    QCOMPARE(page.preview->font().pixelSize(), PreviewLeastFontPixels);
    page.resize(page.minimumSize() + QSize(page.minimumSize().width(), 1000));
    // The width doubled for the page is half again for the preview; the
    // height has room to spare, so the width decides.
    const int grown = page.preview->font().pixelSize();
    QCOMPARE(grown, PreviewFontPixels(page.preview->width(), page.preview->height()));
    QVERIFY2(grown > PreviewLeastFontPixels, qPrintable(QString::number(grown)));
    QCOMPARE(PreviewFontPixels(PreviewLeastWidth * 2, PreviewLeastHeight * 3),
             2 * PreviewLeastFontPixels);
    QCOMPARE(PreviewFontPixels(PreviewLeastWidth * 3, PreviewLeastHeight), PreviewLeastFontPixels);
    QCOMPARE(PreviewFontPixels(10, 10), PreviewLeastFontPixels);
}

QTEST_MAIN(TestConstructor)
#include "tst_constructor.moc"
