#include "image/WholeConfigurationTransfer.h"

#include "config/ConfigurationDiff.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "forms/FormTableTransfer.h"
#include "shell/IndicatorsOnThrow.h"
#include "shell/ItemLoop.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"

bool ReadConfigurationForComparison(DeviceConfiguration& device, UnreadItems& unread) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);  // throws before anything shows
    IndicatorsOnThrow guard(CurrentProgress());
    unread = {};
    TransferOutcome outcome;
    // Read through, the comparison itself shows what could not be read; a
    // stop is told here, with what failed before it.
    if (!DownloadConfigurationPhases(device, outcome, &unread) ||
        !ReadFormsPhase(device, outcome, unread)) {
        ReportOutcome(outcome, {}, ReadWords(), Dialogs());
        return false;
    }
    CurrentProgress().hideWait();
    return true;
}

bool UploadConfigurationAndForms(const DeviceConfiguration& config,
                                 const QVector<ConfigurationItem>& items) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    IndicatorsOnThrow guard(CurrentProgress());
    TransferOutcome outcome;
    const bool completed = UploadConfigurationPhases(config, items, outcome) &&
                           ProgramFormsPhase(config, items, outcome);
    if (completed) CurrentProgress().hideWait();
    ReportOutcome(outcome, QStringLiteral("Записано удачно..."), WrittenWords(), Dialogs());
    return completed;
}
