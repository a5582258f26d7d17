// The configuration file loader against any file, and what the program then
// does with the loaded model: the wizard's lines and passwords, the form
// previews, the upload to the device and the save. Beyond the sanitizers it
// checks that a regular file always loads, that the save writes back exactly
// the bytes that were loaded, and that every upload request is a sound frame.

#include <QFile>
#include <cstring>

#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "forms/FormPreview.h"
#include "support/AcceptingDevice.h"
#include "support/FuzzCheck.h"
#include "support/IndicatorProgress.h"
#include "support/InputLink.h"
#include "support/ScratchFile.h"
#include "wizard/DeviceLine.h"

namespace {

void ShowLines(const DeviceText* lines, int count) {
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(LineText(lines[i]).size() <= int(sizeof lines[i].bytes) - 1);
        (void)IsWideLine(lines[i]);
    }
}

// What the wizard pages and the constructor show of the model.
void ShowConfiguration(const DeviceConfiguration& config) {
    for (const OperatorRecord& op : config.operators) {
        ShowLines(&op.position, 1);
        ShowLines(&op.name, 1);
        // A file can fill a field up to its last byte; nothing is shown past it.
        FUZZ_CHECK(PasswordText(op.password).size() <= int(sizeof op.password));
        (void)PasswordUsable(op.password);
    }
    ShowLines(&config.documentName, 1);
    for (const ThreeLineRecord& record : config.services) ShowLines(record.lines, 3);
    for (const ThreeLineRecord& record : config.requisites) ShowLines(record.lines, 3);
    for (const ClicheRecord& cliche : config.cliches) ShowLines(cliche.lines, ClicheLineCount);
    for (int n = 1; n <= FormCount; ++n) {
        for (const QString& line : FormPreviewLines(config, n))
            FUZZ_CHECK(line.size() <= PreviewLineWidth);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    static DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    const QString path = WriteScratchFile(QStringLiteral("input.cfg"), bytes);
    FUZZ_CHECK(LoadConfigurationFileInteractive(config, path) == ConfigurationFileResult::Ok);

    ShowConfiguration(config);

    const QString savedPath = ScratchPath(QStringLiteral("saved.cfg"));
    FUZZ_CHECK(SaveConfigurationFile(config, savedPath) == ConfigurationFileResult::Ok);
    QFile saved(savedPath);
    FUZZ_CHECK(saved.open(QIODevice::ReadOnly));
    QByteArray expected = bytes.left(ConfigurationFileSize);
    expected.append(QByteArray(ConfigurationFileSize - int(expected.size()), '\0'));
    FUZZ_CHECK(saved.readAll() == expected);

    InputLink* linkPointer = nullptr;
    InputLink link([&] { return AcceptingAnswer(linkPointer->lastRequest()); });
    linkPointer = &link;
    IndicatorProgress progress;
    FUZZ_CHECK(UploadConfiguration(config));
    progress.checkAllDown();
    return 0;
}
