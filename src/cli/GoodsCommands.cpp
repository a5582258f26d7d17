// goods read FILE, goods write FILE, goods write-changed FILE [--since OLD]
// and goods clear.

#include <QFileInfo>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "goods/GoodsCsv.h"
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

// ExitDone when the file's name says its format; the usage error otherwise.
int CheckFormat(CliSession& session, const QString& path) {
    if (FormatOf(path) != GoodsFileFormat::Unknown) return ExitDone;
    return UsageError(session,
                      QStringLiteral("«%1»: файл базы товаров должен иметь расширение .base "
                                     "или .csv.")
                          .arg(path));
}

// The goods page's "Открыть" or "Импорт из CSV..." by the file's extension,
// with their messages. A CSV file replaces the rows of its codes only.
bool LoadGoods(CliSession& session, GoodsTable& table, const QString& path) {
    if (FormatOf(path) == GoodsFileFormat::Csv)
        return ImportGoodsCsvInteractive(table, path, session.dialogs);
    return LoadGoodsFileInteractive(table, path).status == GoodsFileStatus::Ok;
}

// "Сохранить" or "Экспорт в CSV...", with their messages.
bool SaveGoods(CliSession& session, const GoodsTable& table, const QString& path) {
    if (FormatOf(path) == GoodsFileFormat::Csv)
        return ExportGoodsCsvInteractive(table, path, session.dialogs) >= 0;
    return SaveGoodsFileInteractive(table, path).status == GoodsFileStatus::Ok;
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
    if (!SaveGoods(session, table, path)) return ExitFileFailed;
    session.report.set(QStringLiteral("records"), NonBlankRecords(table));
    return TransferExit(session, completed);
}

int RunGoodsWrite(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    if (const int code = CheckFormat(session, path); code != ExitDone) return code;
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    GoodsTable table;
    if (!LoadGoods(session, table, path)) return ExitFileFailed;
    session.report.set(QStringLiteral("records"), NonBlankRecords(table));
    // Every record is written: those the file gives no goods go to the
    // device empty, and whatever it held there is gone.
    int withGoods = 0;
    for (const GoodsRecord& record : table.records())
        if (record.hasGoods()) ++withGoods;
    const int cleared = GoodsRecordCount - withGoods;
    session.report.set(QStringLiteral("withGoods"), withGoods);
    session.report.set(QStringLiteral("cleared"), cleared);
    const bool completed = WriteAllGoods(table, session.progress, session.dialogs);
    if (completed && !session.dialogs.failed())
        session.dialogs.success(QStringLiteral("Записано с товарами: %1; очищено (записано "
                                               "пустыми): %2.")
                                    .arg(withGoods)
                                    .arg(cleared));
    return TransferExit(session, completed);
}

int RunGoodsWriteChanged(CliSession& session) {
    const QString path = session.line.arguments().value(0);
    const QString since = session.line.value(QStringLiteral("since"));
    if (const int code = CheckFormat(session, path); code != ExitDone) return code;
    if (!since.isEmpty())
        if (const int code = CheckFormat(session, since); code != ExitDone) return code;
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.report.set(QStringLiteral("file"), path);
    GoodsTable table;
    // What the device holds, as a file read from it or last written to it.
    if (!since.isEmpty()) {
        if (!LoadGoods(session, table, since)) return ExitFileFailed;
        for (int row = 1; row <= GoodsRecordCount; ++row) table.markInStep(row);
        // The new file alone is what the device is to hold: a product it no
        // longer lists (a CSV fills only the rows it names) is sent blank.
        table.clear();
    }
    if (!LoadGoods(session, table, path)) return ExitFileFailed;
    const int changed = table.changedCount();
    session.report.set(QStringLiteral("records"), changed);
    const bool completed = WriteChangedGoods(table, session.progress, session.dialogs);
    // Nothing to send is no failure.
    return changed == 0 ? ExitDone : TransferExit(session, completed);
}

int RunGoodsClear(CliSession& session) {
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    session.dialogs.setConfirmation(session.line.isSet(QStringLiteral("yes")));
    GoodsTable table;
    const bool completed = EraseDeviceGoods(table, session.progress, session.dialogs);
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
