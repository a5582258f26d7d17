// The decoding of the device state into the state page's texts, for any field
// values, and the code tables for any code. Beyond the sanitizers it checks
// the texts' shapes: two-digit time and date parts, codes that read back as
// the values they show.

#include <QStringList>
#include <cstring>

#include "admin/StateDecoding.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

template <typename T>
void Take(FuzzInput& input, T& field) {
    const QByteArray bytes = input.take(int(sizeof field));
    std::memcpy(&field, bytes.constData(), std::size_t(bytes.size()));
}

void CheckTwoDigits(const QString& text, int value) {
    FUZZ_CHECK(text.size() >= 2);
    FUZZ_CHECK(text.toInt() == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    DeviceStateAnswer a;
    Take(input, a.modeByte);
    Take(input, a.flash);
    Take(input, a.currentGroup);
    Take(input, a.battery);
    Take(input, a.documentNumber);
    Take(input, a.documentState);
    Take(input, a.day);
    Take(input, a.month);
    Take(input, a.year);
    Take(input, a.hour);
    Take(input, a.minute);
    Take(input, a.factoryNumber);
    Take(input, a.taxpayerNumber);

    const StateTexts t = DecodeState(a);
    const QStringList time = t.time.split(QLatin1Char(':'));
    FUZZ_CHECK(time.size() == 2);
    CheckTwoDigits(time[0], a.hour);
    CheckTwoDigits(time[1], a.minute);
    const QStringList date = t.date.split(QLatin1Char('/'));
    FUZZ_CHECK(date.size() == 3);
    CheckTwoDigits(date[0], a.day);
    CheckTwoDigits(date[1], a.month);
    CheckTwoDigits(date[2], a.year);
    FUZZ_CHECK(t.modeCode.toInt() * 16 + t.subModeCode.toInt() == a.modeByte);
    FUZZ_CHECK(t.modeText.isEmpty() == (a.modeByte >> 4 > 2));
    FUZZ_CHECK(t.subModeText.isEmpty() == ((a.modeByte & 0x0F) > 2));
    FUZZ_CHECK(t.batteryText.isEmpty() == (a.battery > 3));
    FUZZ_CHECK(t.documentNumber.toInt() == a.documentNumber);
    FUZZ_CHECK(t.factoryNumber.toInt() == int32_t(a.factoryNumber));
    FUZZ_CHECK(t.taxpayerNumber.toULongLong() == (a.taxpayerNumber & 0xFFFFFFFFFFFFULL));
    FUZZ_CHECK(!t.flashText.isEmpty() && !t.documentState.isEmpty());

    // The code tables take any code, also one no device sends.
    int32_t code = 0;
    Take(input, code);
    (void)ModeText(code);
    (void)SubModeText(code);
    (void)BatteryText(code);
    const QString digits = TwoDigits(code);
    FUZZ_CHECK(digits.toInt() == code);
    return 0;
}
