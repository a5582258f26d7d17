#pragma once

// Programming the taxpayer number (ИНН): the checks of the dialog's input,
// the confirmation, and the one InnCommand that carries it. The dialog only
// collects the fields and acts on the outcome.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

class UserDialogs;

constexpr int InnMaxDigits = 12;
constexpr int InnPasswordMaxDigits = 5;
// The device keeps the year as one byte counted from 2000.
constexpr int InnFirstYear = 2000;
constexpr int InnLastYear = 2255;

// What the dialog holds when "Применить" is pressed.
struct InnInput {
    QString taxpayerNumber;
    QString password;
    QDate date;
    int groupIndex = 0;  // position in the group list, 0..2
};

// The values InnCommand takes.
struct InnFrameValues {
    int32_t password = 0;
    uint8_t day = 0;
    uint8_t month = 0;
    uint8_t year = 0;
    uint8_t group = 0;
    QByteArray taxpayerNumber;  // decimal digits
};

// The device's year byte: the low byte of (year + 48), which is year − 2000
// for every year from 2000 to 2255.
uint8_t InnYearByte(int year);

// The values for a checked input.
InnFrameValues InnValues(const InnInput& input);

enum class InnField { None, TaxpayerNumber, Password };

struct InnOutcome {
    bool closeDialog = false;         // false: a check failed, the dialog stays
    InnField focus = InnField::None;  // the field to put the focus on
    bool sent = false;                // InnCommand ran
    bool succeeded = false;           // ... and the device took it
};

// Why the input cannot be sent, and the field to correct; none when it can.
struct InnRefusal {
    QString text;
    InnField field = InnField::None;
};
std::optional<InnRefusal> CheckInnInput(const InnInput& input);

// The confirmation of a checked input: the number and the group that will be
// written, a line of its own when the number cannot be a real ИНН, and the
// question.
QString InnConfirmationText(const InnInput& input);

// Checks the input, asks for confirmation ("Нет" by default) and sends the ИНН, telling the user
// every outcome through `dialogs`.
InnOutcome ProgramInn(const InnInput& input, UserDialogs& dialogs);
