#include "forms/FormTransfer.h"

#include <QtGlobal>

#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "device/Protocol.h"
#include "shell/UserDialogs.h"

ItemResult ProgramForm(const DeviceConfiguration& config, int formNumber) {
    Q_ASSERT(formNumber >= 1 && formNumber <= FormCount);
    const FormSlot& slot = config.forms[formNumber - 1];
    uint8_t number = uint8_t(formNumber);
    uint8_t variant = slot.variant;
    uint8_t requisite = slot.requisite;
    uint8_t kind = slot.kind;
    uint8_t deviceError = 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return FormCommand(ModeWrite, number, variant, requisite, kind, deviceError, errorText);
    });
    if (result.ok()) ProgramConfigurationSync().keepForm(formNumber, slot);
    return result;
}

bool ProgramFormReporting(const DeviceConfiguration& config, int formNumber, UserDialogs& dialogs) {
    const ItemResult result = ProgramForm(config, formNumber);
    if (!result.ok()) {
        dialogs.error(FailureMessage(QStringLiteral("Не удалось запрограммировать бланк... "),
                                     result.errorText));
        return false;
    }
    dialogs.success(QStringLiteral("Бланк удачно запрограммированн..."));
    return true;
}

ItemResult ReadForm(DeviceConfiguration& config, int formNumber, FormStatusUpdate status) {
    Q_ASSERT(formNumber >= 1 && formNumber <= FormCount);
    FormSlot& slot = config.forms[formNumber - 1];
    uint8_t number = uint8_t(formNumber);
    uint8_t variant = slot.variant;
    uint8_t requisite = slot.requisite;
    uint8_t kind = slot.kind;
    uint8_t deviceError = 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return FormCommand(ModeRead, number, variant, requisite, kind, deviceError, errorText);
    });
    if (result.ok()) {
        slot.variant = variant;
        slot.requisite = requisite;
        slot.kind = kind;
        if (status == FormStatusUpdate::FromAnswer) slot.status = number != 0 ? 1 : 0;
        ProgramConfigurationSync().keepForm(formNumber, slot);
    }
    return result;
}
