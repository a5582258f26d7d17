// The conversions between the program's Windows-1251 texts, the device
// character set and the user interface's Unicode, on fields laid out as the
// program lays them out. Beyond the sanitizers it checks that every text the
// device can hold comes back from the device as it went, that no conversion
// runs past its field, and that what an editor keeps can always be stored.

#include <algorithm>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "wizard/DeviceLine.h"

namespace {

constexpr int FieldBytes = DeviceDataSize + 1;

bool IsDeviceLetter(unsigned char c) {
    return c < 0x80 && std::strchr("abwgdevzijklmnoprstufhc~{}^yx|`q", c) != nullptr;
}

// A text as the model holds it is sent and read back.
void DeviceRoundTrip(const QByteArray& text, const QByteArray& earlier) {
    char source[FieldBytes] = {};
    CopyToField(source, FieldBytes, text);
    char encoded[FieldBytes] = {};
    // The buffer may hold an earlier text, zero-filled behind it as every
    // caller keeps it.
    CopyToField(encoded, FieldBytes, FieldText(earlier.constData(), int(earlier.size())));
    EncodeDeviceText(source, encoded);
    const int length = int(std::strlen(source));
    FUZZ_CHECK(int(strnlen(encoded, FieldBytes)) == length);
    for (int i = 0; i < length; ++i) FUZZ_CHECK(uchar(encoded[i]) < 0x80);
    FUZZ_CHECK(encoded[FieldBytes - 1] == 0);

    char decoded[FieldBytes] = {};
    DecodeDeviceText(encoded, decoded);
    FUZZ_CHECK(decoded[FieldBytes - 1] == 0);
    // Capitals, digits, signs and Latin capitals come back; other letters of
    // 0x80 and above become spaces; small Latin letters are the device's own
    // Cyrillic ones.
    for (int i = 0; i < length; ++i) {
        const auto c = uchar(source[i]);
        if (c >= 0x80 && (c < 0xC0 || c > 0xDF))
            FUZZ_CHECK(decoded[i] == ' ');
        else if (!IsDeviceLetter(c))
            FUZZ_CHECK(decoded[i] == source[i]);
    }
}

// A device text is read and sent back.
void ReadBack(const QByteArray& deviceBytes) {
    char source[FieldBytes] = {};
    CopyToField(source, FieldBytes, deviceBytes);
    char decoded[FieldBytes] = {};
    DecodeDeviceText(source, decoded);
    FUZZ_CHECK(decoded[FieldBytes - 1] == 0);
    char encoded[FieldBytes] = {};
    EncodeDeviceText(decoded, encoded);
    bool deviceRange = true;
    for (const char c : FieldText(source, FieldBytes)) deviceRange = deviceRange && uchar(c) < 0x80;
    if (deviceRange) FUZZ_CHECK(std::strcmp(encoded, source) == 0);
}

// Fields of every size keep their terminator and never overflow.
void Fields(const QByteArray& text, int size) {
    QByteArray field(size + 1, '\x55');
    CopyToField(field.data(), size, text);
    FUZZ_CHECK(field[size] == '\x55');
    FUZZ_CHECK(field[size - 1] == 0);
    const QByteArray back = FieldText(field.constData(), size);
    FUZZ_CHECK(back == FieldText(text.constData(), int(text.size())).left(size - 1));
}

// What the line editors keep of typed text is what the device prints, and can
// be stored and shown again.
void Typed(const QString& typed) {
    QString refused;
    const QString kept = DeviceLineInput(typed, &refused);
    for (const QChar c : kept) FUZZ_CHECK(DevicePrints(c));
    for (const QChar c : refused) FUZZ_CHECK(!kept.contains(c));
    FUZZ_CHECK(FromCp1251(ToCp1251(kept)) == kept);
    for (const bool wide : {false, true}) {
        DeviceText line;
        std::memset(line.bytes, 'x', sizeof line.bytes);
        StoreLine(line, kept, wide);
        FUZZ_CHECK(line.bytes[sizeof line.bytes - 1] == 0);
        FUZZ_CHECK(IsWideLine(line) == wide);
        const QString shown = LineText(line);
        FUZZ_CHECK(shown.size() <= (wide ? WideLineLength : NarrowLineLength));
        FUZZ_CHECK(kept.startsWith(shown));
    }
}

// An edit field's text after the user typed, pasted or deleted: only what was
// put in becomes device text, the rest stays as it was.
void Edits(const QString& before, const QString& typed, int at) {
    const int k = at % (int(before.size()) + 1);
    int cursor = k + int(typed.size());
    const QString inserted =
        DeviceLineEdited(before, before.left(k) + typed + before.mid(k), cursor);
    const QString put = DeviceLineInput(typed);
    FUZZ_CHECK(inserted == before.left(k) + put + before.mid(k));
    FUZZ_CHECK(cursor == k + int(put.size()));

    const int cut = std::min(int(typed.size()), int(before.size()) - k);
    cursor = k;
    const QString after = before.left(k) + before.mid(k + cut);
    FUZZ_CHECK(DeviceLineEdited(before, after, cursor) == after);
    FUZZ_CHECK(cursor == k);

    // Any pair of texts and any cursor: the cursor stays inside the result.
    cursor = at - 64;
    const QString any = DeviceLineEdited(before, typed, cursor);
    FUZZ_CHECK(cursor >= 0 && cursor <= any.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int fieldSize = 1 + input.byte() % 64;
    const QByteArray earlier = input.take(input.byte() % FieldBytes);
    const QByteArray text = input.rest();
    DeviceRoundTrip(text, earlier);
    ReadBack(text);
    Fields(text, fieldSize);
    const QString fromFile = FromCp1251(text);
    FUZZ_CHECK(fromFile.size() == text.size());
    Typed(fromFile);
    Edits(FromCp1251(earlier), fromFile, fieldSize + int(text.size()));
    QString units(int(text.size() / 2), Qt::Uninitialized);  // any UTF-16, lone surrogates too
    std::memcpy(units.data(), text.constData(), std::size_t(units.size()) * 2);
    Typed(units);
    return 0;
}
