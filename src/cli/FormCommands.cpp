// forms read and form write N VARIANT REQUISITE KIND.

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <cstring>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "forms/FormTableTransfer.h"
#include "forms/FormTransfer.h"
#include "forms/FormVariants.h"

namespace {

// The kinds of a form as the constructor's buttons name them: С, Н, К.
const QStringList& KindLetters() {
    static const QStringList letters = {QStringLiteral("С"), QStringLiteral("Н"),
                                        QStringLiteral("К")};
    return letters;
}

QString KindText(int kind) {
    return kind >= 1 && kind <= 3 ? KindLetters().at(kind - 1) : QStringLiteral("-");
}

// A slot status no read gives: the form was not read.
constexpr uint8_t NotRead = 0xFF;

}  // namespace

int RunFormsRead(CliSession& session) {
    if (const int code = ApplyConnection(session); code != ExitDone) return code;
    // The question after a failed state query is a "go on after a failure".
    session.dialogs.setConfirmation(session.dialogs.keepGoing());
    static DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    for (FormSlot& slot : config.forms) slot.status = NotRead;
    const std::optional<int> group = ReadFormTable(config);
    if (!group)
        session.dialogs.addFailure(QString(), QStringLiteral("Не удалось выполнить запрос "
                                                             "состояния! Текущая группа "
                                                             "неизвестна."));
    session.report.set(QStringLiteral("group"), group ? QJsonValue(*group) : QJsonValue());
    session.report.line(QStringLiteral("Текущая группа: ") +
                        (group ? QString::number(*group) : QStringLiteral("---")));
    QJsonArray forms;
    for (int n = 1; n <= FormCount; ++n) {
        const FormSlot& slot = config.forms[n - 1];
        QJsonObject form{{QStringLiteral("number"), n}};
        QString text = QStringLiteral("Форма %1: ").arg(n);
        if (slot.status == NotRead) {
            form.insert(QStringLiteral("read"), false);
            text += QStringLiteral("не прочитана");
        } else {
            form.insert(QStringLiteral("read"), true);
            form.insert(QStringLiteral("present"), slot.status != 0);
            form.insert(QStringLiteral("variant"), slot.variant);
            form.insert(QStringLiteral("requisite"), slot.requisite);
            form.insert(QStringLiteral("kind"), slot.kind);
            text += slot.status == 0 ? QStringLiteral("нет")
                                     : QStringLiteral("вариант %1, реквизит %2, вид %3")
                                           .arg(slot.variant)
                                           .arg(slot.requisite)
                                           .arg(KindText(slot.kind));
        }
        forms.append(form);
        session.report.line(text);
    }
    session.report.set(QStringLiteral("forms"), forms);
    return TransferExit(session, group.has_value());
}

int RunFormWrite(CliSession& session) {
    const QStringList& args = session.line.arguments();
    int number = 0;
    int variant = 0;
    int requisite = 0;
    if (!ParseNumber(args.at(0), 1, FormCount, number))
        return UsageError(session, QStringLiteral("N: «%1» — нужен номер формы от 1 до %2.")
                                       .arg(args.at(0))
                                       .arg(FormCount));
    if (!ParseNumber(args.at(1), 1, FormVariantCount, variant))
        return UsageError(session, QStringLiteral("VARIANT: «%1» — нужен вариант от 1 до %2.")
                                       .arg(args.at(1))
                                       .arg(FormVariantCount));
    if (!ParseNumber(args.at(2), 0, RequisiteCount, requisite))
        return UsageError(session,
                          QStringLiteral("REQUISITE: «%1» — нужен реквизит от 0 (нет) до %2.")
                              .arg(args.at(2))
                              .arg(RequisiteCount));
    int kind = int(KindLetters().indexOf(args.at(3).toUpper())) + 1;
    if (kind == 0 && !ParseNumber(args.at(3), 0, 3, kind))
        return UsageError(session,
                          QStringLiteral("KIND: «%1» — нужен вид 0 (нет), 1 (С), 2 (Н) или 3 (К).")
                              .arg(args.at(3)));
    // What the constructor page offers for the variant is what may be sent.
    const FormVariant& offered = *FormVariantOf(variant);
    if (requisite != 0 && !offered.offersRequisite)
        return UsageError(session, QStringLiteral("Вариант %1 не имеет дополнительного "
                                                  "реквизита: REQUISITE должен быть 0.")
                                       .arg(variant));
    if (kind != 0 && !offered.offersDiscount)
        return UsageError(
            session,
            QStringLiteral("Вариант %1 не имеет вида С/Н/К: KIND должен быть 0.").arg(variant));
    if (kind == 3 && !offered.offersCode)
        return UsageError(
            session,
            QStringLiteral("Вариант %1 не имеет вида К: KIND 0, 1 (С) или 2 (Н).").arg(variant));
    if (const int code = ApplyConnection(session); code != ExitDone) return code;

    static DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    config.forms[number - 1] = FormSlot{1, uint8_t(variant), uint8_t(requisite), uint8_t(kind)};
    session.report.set(QStringLiteral("form"), QJsonObject{{QStringLiteral("number"), number},
                                                           {QStringLiteral("variant"), variant},
                                                           {QStringLiteral("requisite"), requisite},
                                                           {QStringLiteral("kind"), kind}});
    return ProgramFormReporting(config, number, session.dialogs) ? ExitDone : ExitDeviceFailed;
}
