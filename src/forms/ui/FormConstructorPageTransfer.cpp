#include <QLabel>

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "forms/FormTransfer.h"
#include "forms/ui/FormConstructorLayout.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/DeviceOperation.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"

// The constructor page's buttons that program a form into the device and
// read one from it.

using namespace FormConstructorLayout;

void FormConstructorPage::writeClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (pressedVariant() == 0) {
        Dialogs().warning(QStringLiteral("Не выбран вариант для программирования."));
        return;
    }
    const int form = selectedForm();
    if (!form) {
        Dialogs().error(QStringLiteral("Не выбрана форма для программирования."));
        return;
    }
    ProgramFormReporting(CurrentConfiguration(), form, Dialogs());
}

void FormConstructorPage::readClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    const int form = selectedForm();
    if (!form) {
        Dialogs().error(QStringLiteral("Не выбрана форма для чтения."));
        return;
    }
    if (!ConfirmOverUnsentConfiguration(StepReadFromDevice(),
                                        {ConfigurationItem{ConfigurationItemKind::Form, form, 1}}))
        return;
    const ItemResult result = ReadForm(CurrentConfiguration(), form);
    if (!result.ok()) {
        Dialogs().error(
            FailureMessage(QStringLiteral("Не удалось прочитать бланк..."), result.errorText));
        return;
    }
    const FormSlot& slot = Slot(form);
    setRequisiteItem(slot.requisite);
    setKindButtons(slot.kind);
    CurrentFormLabel->setText(QString::number(form));
    offerControls(slot.variant);
    setVariantButtonsEnabled(true);
    pressVariant(slot.variant);
    renderPreview(form);
    Dialogs().warning(QStringLiteral("Бланк удачно прочитан..."));
}
