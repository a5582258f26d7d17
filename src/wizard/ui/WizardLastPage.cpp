#include "wizard/ui/WizardLastPage.h"

#include <QLabel>
#include <QPushButton>

#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/DeviceOperation.h"
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
    auto* picture = new QLabel(this);
    picture->setPixmap(DrawDevicePicture(QSize(120, 150)));
    picture->setGeometry((PageWidth - 120) / 2, y + 20, 120, 150);

    nextButton->setText(QStringLiteral("Готово"));
    connect(nextButton, &QPushButton::clicked, this, Guarded([this] { doneClicked(); }));
}

void WizardLastPage::Fill() {
    const bool whole = !host_->singlePage();
    if (whole) nextButton->setVisible(true);
    backButton->setVisible(whole);
    for (QLabel* line : TextLines) line->setVisible(whole);
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
