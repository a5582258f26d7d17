#include "wizard/ui/WizardStartPage.h"

#include <QLabel>
#include <QPushButton>

#include "config/ConfigurationSync.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "shell/DeviceOperation.h"
#include "shell/SuccessWatch.h"
#include "shell/UnsentWork.h"
#include "shell/ui/Guarded.h"
#include "shell/ui/Icons.h"
#include "wizard/ui/WizardWindow.h"

WizardStartPage::WizardStartPage(WizardWindow* host, QWidget* parent)
    : WizardPage(host, 0, parent) {
    const int textLeft = 100;
    auto* picture = new QLabel(this);
    picture->setPixmap(DrawDevicePicture(QSize(84, 120)));
    picture->setGeometry(8, 70, 84, 120);

    addText(QStringLiteral("Вас приветствует \"Помощник\" создания форм."), textLeft, 14, true);
    int y =
        addTextLines({QStringLiteral("Следуя инструкциям \"Помощника\" Вы сможете в пошаговом "),
                      QStringLiteral("режиме ввести программируемые данные (либо считать уже"),
                      QStringLiteral("имеющиеся в \"ВАЛДЕ ВК-12\") и создать нужные Вам печатные"),
                      QStringLiteral("формы документов строгой отчетности.")},
                     textLeft, 44);
    y = addTextLines({QStringLiteral("Для корректной работы с данными необходимо выгрузить"),
                      QStringLiteral("имеющиеся настройки .")},
                     textLeft, y + 28);
    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    readButton->setAutoDefault(false);
    readButton->setGeometry(textLeft, y + 10, 130, 25);
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));

    nextButton->setEnabled(false);
    backButton->setEnabled(false);
}

void WizardStartPage::readClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (!ConfirmOverUnsentConfiguration(StepReadFromDevice())) return;
    // Once the tool holds the device's configuration the pages may be walked;
    // a later failed download does not take that back.
    SuccessWatch watch;
    if (DownloadConfiguration(CurrentConfiguration(), &host_->refreshPages()))
        nextButton->setEnabled(true);
    if (!watch.succeeded()) return;
    for (int s = 0; s < WizardSectionCount; ++s)
        host_->writes().read(WizardSection(s), CurrentConfiguration());
}
