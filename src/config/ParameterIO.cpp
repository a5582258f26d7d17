#include "config/ParameterIO.h"

#include <cstring>

#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"

ItemResult ReadParameterText(uint8_t group, uint8_t index, uint8_t line, char* field, int fieldSize,
                             uint8_t* recordFlag, uint8_t* refusal) {
    char data[DeviceDataSize + 1] = {};
    uint8_t deviceError = 0;
    // The flag of an answer that failed is not the device's word on the record.
    uint8_t answeredFlag = recordFlag ? *recordFlag : 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return ParameterCommand(ModeRead, group, index, line, data, deviceError, errorText,
                                recordFlag ? &answeredFlag : nullptr);
    });
    if (refusal) *refusal = result.status == StatusDeviceError ? deviceError : 0;
    if (result.ok()) {
        if (recordFlag) *recordFlag = answeredFlag;
        std::memset(field, 0, std::size_t(fieldSize));
        // A field shorter than the 25 data bytes (the password) keeps what fits.
        // The device's 0x80 decodes to a zero inside the text: the bytes after it
        // are kept all the same, so that the model (and a file saved from it)
        // holds what the device sent; what is shown still ends at the zero.
        char decoded[DeviceDataSize + 1] = {};
        DecodeDeviceText(data, decoded);
        const int keep = std::min<int>(int(strnlen(data, DeviceDataSize)), fieldSize - 1);
        std::memcpy(field, decoded, std::size_t(keep));
        ProgramConfigurationSync().keepParameter(group, index, line, field, fieldSize);
    }
    return result;
}

ItemResult ReadParameterText(uint8_t group, uint8_t index, uint8_t line, DeviceText& text,
                             uint8_t* recordFlag, uint8_t* refusal) {
    return ReadParameterText(group, index, line, text.bytes, int(sizeof text.bytes), recordFlag,
                             refusal);
}

ItemResult WriteParameterText(uint8_t group, uint8_t index, uint8_t line, const char* field,
                              int fieldSize, uint8_t* recordFlag) {
    char source[DeviceDataSize + 1] = {};
    std::memcpy(
        source, field,
        std::size_t(std::min<int>(int(strnlen(field, std::size_t(fieldSize))), DeviceDataSize)));
    char encoded[DeviceDataSize + 1] = {};
    EncodeDeviceText(source, encoded);
    uint8_t deviceError = 0;
    const ItemResult result = RunCommand([&](char* errorText) {
        return ParameterCommand(ModeWrite, group, index, line, encoded, deviceError, errorText,
                                recordFlag);
    });
    if (result.ok()) ProgramConfigurationSync().keepParameter(group, index, line, field, fieldSize);
    return result;
}

ItemResult WriteParameterText(uint8_t group, uint8_t index, uint8_t line, const DeviceText& text,
                              uint8_t* recordFlag) {
    return WriteParameterText(group, index, line, text.bytes, int(sizeof text.bytes), recordFlag);
}
