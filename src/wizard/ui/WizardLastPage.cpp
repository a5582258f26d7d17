#include "wizard/ui/WizardLastPage.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadQuestions.h"
#include "forms/FormTableTransfer.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/DeviceOperation.h"
#include "shell/SuccessWatch.h"
#include "shell/UserDialogs.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Icons.h"
#include "shell/ui/PageHost.h"
#include "wizard/ui/WizardWindow.h"

WizardLastPage::WizardLastPage(WizardWindow* host, QWidget* parent) : WizardPage(host, 6, parent) {
    QLabel* title = addText(QStringLiteral("Готово"), 0, 14, true);
    QFont font = title->font();
    font.setPixelSize(14);
    title->setFont(font);
    title->adjustSize();
    title->move((PageWidth - title->width()) / 2, 14);

    const QStringList lines = {
        QStringLiteral("Мы закончили ввод и программирование данных для формирования документов"),
        QStringLiteral("строгой отчетности. Теперь вы можете сформировать и запрограммировать"),
        QStringLiteral("желаемые формы.")};
    const int y = addTextLines(lines, 8, 48, &TextLines);
    picture_ = new QLabel(this);
    picture_->setPixmap(DrawDevicePicture(QSize(120, 150)));
    picture_->setGeometry((PageWidth - 120) / 2, y + 20, 120, 150);

    summary = addText(QString(), 8, 48);
    summary->setWordWrap(true);
    summary->setFont(PageTextFont());
    summary->setGeometry(8, 48, PageWidth - 16, 120);
    summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    writeMissingButton = new QPushButton(QStringLiteral("Записать незаписанные"), this);
    writeMissingButton->setGeometry(8, 176, 180, ButtonHeight);
    writeMissingButton->setAutoDefault(false);
    connect(writeMissingButton, &QPushButton::clicked, this,
            Guarded([this] { writeMissingClicked(); }));

    nextButton->setText(QStringLiteral("Готово"));
    connect(nextButton, &QPushButton::clicked, this, Guarded([this] { doneClicked(); }));
}

void WizardLastPage::Fill() {
    const bool whole = !host_->singlePage();
    if (whole) nextButton->setVisible(true);
    backButton->setVisible(whole);
    // "Мы закончили ... программирование" only when it is so.
    const DeviceConfiguration& config = CurrentConfiguration();
    const bool missing = !host_->writes().notWritten(config).isEmpty();
    for (QLabel* line : TextLines) line->setVisible(whole && !missing);
    picture_->setVisible(whole && !missing);
    QStringList lines = host_->writes().summary(config);
    if (missing)
        lines << QStringLiteral(
            "Незаписанные данные можно записать в АС сейчас кнопкой «Записать незаписанные».");
    summary->setText(lines.join(QLatin1Char('\n')));
    summary->setVisible(whole && missing);
    writeMissingButton->setVisible(whole && missing);
}

void WizardLastPage::writeMissingClicked() {
    const DeviceConfiguration& config = CurrentConfiguration();
    const QVector<WizardSection> missing = host_->writes().notWritten(config);
    if (missing.isEmpty()) return;
    QVector<ConfigurationItem> items;
    QStringList names;
    for (WizardSection section : missing) {
        items += WizardSectionItems(section);
        names << WizardSectionName(section);
    }
    if (!Dialogs().confirmDefaultNo(SectionsUploadQuestion(names, int(items.size())))) return;
    {
        DeviceLock lock;
        if (!BeginDeviceOperation(lock)) return;
        SuccessWatch watch;
        UploadConfigurationItems(config, items);
        if (watch.succeeded())
            for (WizardSection section : missing) host_->writes().written(section, config);
    }
    Fill();
}

void WizardLastPage::doneClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    // A failed state query asks; a failed form read ends the reading quietly.
    // Either way the constructor shows what the form table holds now.
    ReadFormTable(CurrentConfiguration());
    if (PageHost* pages = host_->pageHost()) pages->showFormConstructor();
    host_->closeWizard();
}
