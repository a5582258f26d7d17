// goods read FILE, goods write FILE and goods clear.

#include <QFileInfo>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"

namespace {

enum class GoodsFileFormat { Base, Csv, Unknown };

GoodsFileFormat FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("base")) return GoodsFileFormat::Base;
    if (suffix == QLatin1String("csv")) return GoodsFileFormat::Csv;
    return GoodsFileFormat::Unknown;
}

// ExitDone when the file's format can be used; the usage error otherwise.
int CheckFormat(CliSession& session, const QString& path) {
    switch (FormatOf(path)) {
        case GoodsFileFormat::Base:
            return ExitDone;
        case GoodsFileFormat::Csv:
            return UsageError(session, QStringLiteral("Файлы CSV в этой сборке ещё недоступны."));
        case GoodsFileFormat::Unknown:
            break;
    }
    return UsageError(session,
                      QStringLiteral("«%1»: файл базы товаров должен иметь расширение .base "
                                     "или .csv.")
                          .arg(path));
}

int NonBlankRecords(const GoodsTable& table) {
    int count = 0;
    for (const GoodsRecord& record : table.records())
        if (!record.isBlank()) ++count;
    return count;
}

}  // namespace

int RunGoodsRead(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = CheckFormat(session, path); code != ExitDone) return code;
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    if (!CanCreateFile(session, path)) return ExitFileFailed;
    GoodsTable table;
    const bool completed = ReadAllGoods(table, session.progress, session.dialogs);
    // A stopped read is not saved: the file keeps what it held.
    if (!completed) return TransferExit(session, completed);
    if (SaveGoodsFileInteractive(table, path).status != GoodsFileStatus::Ok) return ExitFileFailed;
    session.report.set(QStringLiteral("records"), NonBlankRecords(table));
    return TransferExit(session, completed);
}

int RunGoodsWrite(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = CheckFormat(session, path); code != ExitDone) return code;
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    GoodsTable table;
    if (LoadGoodsFileInteractive(table, path).status != GoodsFileStatus::Ok) return ExitFileFailed;
    session.report.set(QStringLiteral("records"), NonBlankRecords(table));
    return TransferExit(session, WriteAllGoods(table, session.progress, session.dialogs));
}

int RunGoodsClear(CliSession& session) {
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.dialogs.setConfirmation(session.line.isSet(QStringLiteral("yes")));
    const bool completed = EraseDeviceGoods(session.progress, session.dialogs);
    if (!session.dialogs.declinedConfirmation().isEmpty()) {
        session.dialogs.error(session.dialogs.declinedConfirmation() +
                              QStringLiteral("\nКоманда стирает все %1 записей базы товаров в АС "
                                             "и выполняется только с --yes. Ничего не "
                                             "отправлено.")
                                  .arg(GoodsRecordCount));
        return ExitUsage;
    }
    return TransferExit(session, completed);
}
