// image read FILE, image write FILE [--all] and image diff FILE.

#include <QJsonArray>
#include <QJsonObject>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"

namespace {

int LoadImage(CliSession& session, const QString& path, DeviceImage& image) {
    const ImageFileResult loaded = LoadImageFile(path, image);
    if (loaded.ok()) return ExitDone;
    session.dialogs.error(ImageFileMessage(loaded) + QStringLiteral("\nНичего не отправлено."));
    return ExitFileFailed;
}

// The exit code of an image operation: the file's when only the file failed.
int ImageExit(const CliSession& session, const ImageOutcome& outcome) {
    if (outcome.fileFailed) return ExitFileFailed;
    return TransferExit(session, outcome.completed);
}

QJsonObject NumbersJson(qint64 image, qint64 device) {
    return QJsonObject{{QStringLiteral("image"), image}, {QStringLiteral("device"), device}};
}

// The comparison into the report: a line per difference (part, item, the
// device's value, the image's value, separated by tabs) and "differences".
void ReportComparison(CliSession& session, const DeviceImage& image,
                      const ImageComparison& comparison) {
    QJsonArray items;
    for (const ImageDifferenceLine& line : ImageDifferenceLines(comparison)) {
        session.report.line(line.part + QLatin1Char('\t') + line.item + QLatin1Char('\t') +
                            line.device + QLatin1Char('\t') + line.image);
        QJsonObject item{{QStringLiteral("part"), line.part},
                         {QStringLiteral("item"), line.item},
                         {QStringLiteral("device"), line.device},
                         {QStringLiteral("image"), line.image}};
        if (!line.notWritten.isEmpty()) item.insert(QStringLiteral("notWritten"), line.notWritten);
        items.append(item);
    }
    session.report.set(QStringLiteral("differences"), items);
    session.report.set(QStringLiteral("factoryNumber"),
                       NumbersJson(image.factoryNumber, comparison.device.factoryNumber));
    session.report.set(QStringLiteral("taxpayerNumber"),
                       NumbersJson(image.taxpayerNumber, qint64(comparison.device.taxpayerNumber)));
}

// An image is loaded, and the connection checked, before anything is sent.
int Prepare(CliSession& session, DeviceImage& image) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    return LoadImage(session, path, image);
}

}  // namespace

int RunImageRead(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    if (!CanCreateFile(session, path)) return ExitFileFailed;
    DeviceImage image;
    const ImageOutcome outcome =
        ReadDeviceImageToFile(path, image, session.progress, session.dialogs);
    if (outcome.ok()) {
        session.report.set(QStringLiteral("factoryNumber"), image.factoryNumber);
        session.report.set(QStringLiteral("taxpayerNumber"), image.taxpayerNumber);
    }
    return ImageExit(session, outcome);
}

int RunImageDiff(CliSession& session) {
    DeviceImage image;
    if (const int code = Prepare(session, image); code != ExitDone) return code;
    ImageComparison comparison;
    const ImageOutcome outcome =
        CompareImageWithDevice(image, comparison, session.progress, session.dialogs);
    if (outcome.completed) {
        ReportComparison(session, image, comparison);
        session.report.set(QStringLiteral("counts"), ImageDifferenceCounts(comparison));
        if (comparison.empty())
            session.dialogs.warning(QStringLiteral("Образ и АС не отличаются."));
    }
    return ImageExit(session, outcome);
}

int RunImageWrite(CliSession& session) {
    DeviceImage image;
    if (const int code = Prepare(session, image); code != ExitDone) return code;
    if (session.line.isSet(QStringLiteral("all")))
        return ImageExit(session, WriteWholeImage(image, session.progress, session.dialogs));
    ImageComparison comparison;
    const ImageOutcome compared =
        CompareImageWithDevice(image, comparison, session.progress, session.dialogs);
    if (!compared.completed) return ImageExit(session, compared);
    ReportComparison(session, image, comparison);
    // What could not be read is not known to be the same: the differences are
    // not all known, and writing only them could leave the device unlike the image.
    if (!compared.failures.isEmpty()) {
        session.dialogs.error(
            QStringLiteral("АС прочитан не полностью, и отличия от образа "
                           "известны не все. Ничего не записано; записать "
                           "образ целиком: --all."));
        return ExitDeviceFailed;
    }
    return ImageExit(session,
                     WriteImageDifferences(image, comparison, session.progress, session.dialogs));
}
