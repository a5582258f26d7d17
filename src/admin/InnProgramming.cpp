#include "admin/InnProgramming.h"

#include "admin/InnCheck.h"
#include "device/Protocol.h"
#include "shell/ItemLoop.h"
#include "shell/UserDialogs.h"

namespace {

bool AllDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

uint8_t InnYearByte(int year) {
    return uint8_t((year + 48) & 0xFF);
}

InnFrameValues InnValues(const InnInput& input) {
    InnFrameValues values;
    values.password = int32_t(input.password.toLongLong());
    values.day = uint8_t(input.date.day());
    values.month = uint8_t(input.date.month());
    values.year = InnYearByte(input.date.year());
    values.group = uint8_t(input.groupIndex + 1);
    values.taxpayerNumber = input.taxpayerNumber.toLatin1();
    return values;
}

QString InnConfirmationText(const InnInput& input) {
    // The number, the group and the date are shown as they will be written:
    // this is the last look at them before the device keeps them for good.
    QString text = QStringLiteral("ИНН: %1\nГруппа: %2\nДата: %3\n")
                       .arg(input.taxpayerNumber)
                       .arg(input.groupIndex + 1)
                       .arg(input.date.toString(QStringLiteral("dd.MM.yyyy")));
    const QString problem = InnProblem(input.taxpayerNumber);
    if (!problem.isEmpty()) text += problem + QLatin1Char('\n');
    return text + QStringLiteral(
                      "Ранее запрограммированные формы будут стерты.\nВы уверены, что "
                      "хотите запрограммировать ИНН?\n");
}

std::optional<InnRefusal> CheckInnInput(const InnInput& input) {
    if (input.taxpayerNumber.isEmpty())
        return InnRefusal{QStringLiteral("Поле ИНН не заполнено..."), InnField::TaxpayerNumber};
    if (input.password.isEmpty())
        return InnRefusal{QStringLiteral("Поле пароль не заполнено..."), InnField::Password};
    // The ИНН can be programmed only once: a text the device would read as
    // another number (a stray sign the key filter lets through) is refused
    // rather than sent.
    if (!AllDigits(input.taxpayerNumber) || input.taxpayerNumber.size() > InnMaxDigits)
        return InnRefusal{QStringLiteral("Поле ИНН должно содержать только цифры (не более 12)..."),
                          InnField::TaxpayerNumber};
    if (!AllDigits(input.password) || input.password.size() > InnPasswordMaxDigits)
        return InnRefusal{
            QStringLiteral("Поле пароль должно содержать только цифры (не более 5)..."),
            InnField::Password};
    return std::nullopt;
}

InnOutcome ProgramInn(const InnInput& input, UserDialogs& dialogs) {
    InnOutcome outcome;
    if (const std::optional<InnRefusal> refusal = CheckInnInput(input)) {
        dialogs.warning(refusal->text);
        outcome.focus = refusal->field;
        return outcome;
    }

    outcome.closeDialog = true;
    if (!dialogs.confirmDefaultNo(InnConfirmationText(input))) return outcome;

    const InnFrameValues values = InnValues(input);
    uint8_t deviceError = 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return InnCommand(values.password, values.year, values.month, values.day, values.group,
                          values.taxpayerNumber.constData(), deviceError, errorText);
    });
    outcome.sent = true;
    outcome.succeeded = result.ok();
    if (result.ok())
        dialogs.success(QStringLiteral("Записано удачно..."));
    else
        dialogs.error(
            FailureMessage(QStringLiteral("Не удалось записать параметр... "), result.errorText));
    return outcome;
}
