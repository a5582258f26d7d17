#pragma once

// The device protocol: the program-wide frame buffer, one transaction over the
// serial link, the response checks and the five device commands. Every screen
// talks to the device only through the commands declared here.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

#include "device/PortSettings.h"

class SerialLink;

constexpr uint8_t STX = 0x17;
constexpr uint8_t STX_SLAVE = 0x18;
constexpr uint8_t END_MARK = 0x19;
constexpr int FrameBufferSize = 128;
constexpr int ErrorTextSize = 80;

// Command bytes and frame lengths (request / response).
constexpr uint8_t CmdParameter = 0x70;
constexpr uint8_t CmdForm = 0x66;
constexpr uint8_t CmdInn = 0x6E;
constexpr uint8_t CmdGoods = 0x74;
constexpr uint8_t CmdState = 0x75;
constexpr int ParameterRequestLength = 40, ParameterResponseLength = 36;
constexpr int FormRequestLength = 16, FormResponseLength = 11;
constexpr int InnRequestLength = 25, InnResponseLength = 7;
constexpr int GoodsRequestLength = 51, GoodsResponseLength = 46;
constexpr int StateRequestLength = 11, StateResponseLength = 31;

// Size of the data field that a parameter or goods name carries.
constexpr int DeviceDataSize = 25;
// Room a barcode text needs: 20 digits of a 64-bit value and the terminator.
constexpr int BarcodeTextSize = 21;

extern uint8_t FrameBuffer[FrameBufferSize];
extern uint32_t TransferCount;

enum CommandStatus : int {
    StatusOk = 0,
    StatusNoAnswer = 1,
    StatusBadHeader = 2,
    StatusCodeMismatch = 3,
    StatusDeviceError = 5,
    // Not sent: an earlier exchange failed and the line could not be brought
    // back in step, so an answer that arrived could be another request's.
    StatusOutOfStep = 6,
};

// A caller-owned, zero-terminated Windows-1251 message buffer.
using ErrorText = char[ErrorTextSize];

// Raised before anything is sent when the factory number is not a signed
// 32-bit integer; the user interface's general error report shows it.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

// ---- Serial link selection -------------------------------------------------

// The link used for the port named in the settings: the in-process emulator for
// its list entry, the real serial port otherwise. A test may put its own link
// in place of both (nullptr restores the default).
SerialLink& ActiveLink();
void SetLinkOverride(SerialLink* link);

// ---- Transaction --------------------------------------------------------------

// The time `bytes` take on the line, 10 bits a byte; a speed that is not set
// counts as the slowest one offered.
int LineTimeMs(int bytes, int baudRate);

uint16_t FrameChecksum(int count);
bool OpenPort();
// Sends TransferCount bytes of the frame buffer and reads up to expectedLength
// into it; false when the port did not open, the line is out of step or
// nothing came back. The request and its answer share one deadline: the
// request's line time plus the total time-out, the answer's time counted from
// when the request has left the port.
//
// After an exchange on a port that did not bring a whole valid answer (a
// device error is one), the next one first puts a state query on the line as
// a marker and drops everything up to its answer (LineMarker.h): no answer is
// ever taken for another request's. Up to MarkerAttempts markers; when none is
// answered the request is not sent (LastLineOutOfStep), and each later
// exchange on that port tries one marker again before its request.
bool Transact(int expectedLength);
constexpr int MarkerAttempts = 3;
// Whether the last Transact did not send its request because the line could
// not be brought back in step.
bool LastLineOutOfStep();
// Forgets what is known of every port's line: the next exchange begins as on
// a line that never failed. For tests that restart the device behind a port.
void ForgetLineStates();
// Whether the port of the settings opens (it is closed again at once).
bool ProbePort();
// Why the last open of OpenPort, Transact or ProbePort failed, in Russian for
// the user; empty when it succeeded.
QString LastPortOpenError();
// Whether the last open failed, whether or not the link could tell why (the
// exchange log tells a port that did not open apart from a silent device).
bool LastOpenFailed();

// The text of a status other than 0 and 5, in Windows-1251.
QByteArray StatusText(CommandStatus status);
// What a command says when its port did not open: the reason where the link
// told it ("Не удалось открыть порт: ..."). The exchange log says the same.
QString PortNotOpenedText(const QString& reason);
// The device's text for a non-zero error code, in Windows-1251, with its leading space.
QByteArray DeviceErrorText(uint8_t code);

// Converts the factory number as every frame needs it; throws ConversionError.
int32_t MachineNumberValue(const QByteArray& text);

// ---- The five commands ----------------------------------------------------------

CommandStatus ParameterCommand(uint8_t mode, uint8_t group, uint8_t firstIndex, uint8_t secondIndex,
                               char* data, uint8_t& deviceError, char* errorText,
                               uint8_t* recordFlag = nullptr);

CommandStatus FormCommand(uint8_t mode, uint8_t& formNumber, uint8_t& variant, uint8_t& requisite,
                          uint8_t& kind, uint8_t& deviceError, char* errorText);

CommandStatus InnCommand(int32_t password, uint8_t year, uint8_t month, uint8_t day, uint8_t group,
                         const char* taxpayerNumber, uint8_t& deviceError, char* errorText);

// name: at least 26 bytes; barcode: at least BarcodeTextSize bytes. Both
// modes send the given barcode, price and section (a write also the name); a
// read then replaces all four with the record's.
CommandStatus GoodsCommand(uint8_t mode, uint16_t recordIndex, char* name, char* barcode,
                           uint8_t& section, int64_t& price, uint8_t& deviceError, char* errorText);

CommandStatus StateCommand(uint8_t& deviceError, uint8_t& modeByte, uint8_t& flashState,
                           uint8_t& batteryState, uint16_t& documentNumber, uint8_t& documentState,
                           uint8_t& day, uint8_t& month, uint8_t& year, uint8_t& hour,
                           uint8_t& minute, uint32_t& factoryNumber, uint64_t& taxpayerNumber,
                           uint8_t& currentGroup, char* errorText);

// Mode bytes of the parameter, form and goods commands.
constexpr uint8_t ModeWrite = 0;
constexpr uint8_t ModeRead = 1;

// Decimal conversions of the taxpayer number (lenient) and the barcode (strict).
int64_t LenientDecimal(const char* text);
bool StrictDecimal(const char* text, int64_t& value);
