#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QVector>
#include <array>
#include <cstdint>

#include "emulator/EmulatorFaults.h"

// A model of the АС good enough to use every function of the program without
// hardware. It takes one whole request frame at a time and gives back the bytes
// the device would put on the line.
//
// Requests are judged in this order; the first failed check decides the answer:
//   empty request                                   silence
//   first byte not 0x17                             22
//   shorter than 11 bytes, length byte other than
//   the bytes received, or no END_MARK before the sum  20
//   sum over the bytes up to END_MARK                21
//   command byte not one of the five                 22
//   length other than the command's request length   20
//   factory number other than the device's own       55
//   then the command's own checks:
//   parameter  mode not 0/1, address outside the catalogue, cliché 2 on a
//              one-cliché device → 51; write in working mode → 30; write to a
//              record without access → 52 (flag 0)
//   form       mode not 0/1 or number outside 1..8 → 51; on programming,
//              variant > 6, requisite > 8 or kind > 3 → 51; in working mode
//              a form that is present cannot be programmed again → 30
//   ИНН        already programmed → 53; group outside 1..3 or no such date → 51
//   goods      mode not 0/1 or record index > 1000 → 51; price above MaxPrice → 59
//
// An error answer keeps the full length of its command (all data zero apart
// from the parameter record flag), so that the program's length check passes
// and it sees the device error. A request whose command byte is unknown or
// missing is answered with a bare 7-byte frame.
//
// Programming the ИНН is what moves the device from training into working mode,
// so "ИНН programmed" and "working mode" are one flag here. In working mode the
// printed data cannot be changed, and the forms, erased by the ИНН, can each be
// programmed once more.
//
// A fresh device (after reset()): factory number 0; training mode (mode byte
// 0x00), group 2, ИНН 0; both clichés; every parameter record zero apart from
// the document name "КВИТАНЦИЯ" in narrow print; every record writable (flag
// 1); all eight forms present with variant, requisite and kind 0; all goods
// records zero; the host clock; flash and battery 0; document 1, completed; no
// faults, no delay, no pacing; an empty log.
class DeviceEmulator {
public:
    static constexpr int FormCount = 8;
    static constexpr int GoodsCount = 1001;
    static constexpr uint64_t MaxPrice = 99'999'999'900ULL;  // kopecks
    static constexpr int LogLimit = 10000;

    enum ErrorCode : uint8_t {
        ErrorInterface = 20,
        ErrorChecksum = 21,
        ErrorCommand = 22,
        ErrorMode = 30,
        ErrorParameter = 51,
        ErrorInUse = 52,
        ErrorInnSet = 53,
        ErrorFactoryNumber = 55,
        ErrorPrice = 59,
    };

    struct Form {
        bool present = true;
        uint8_t variant = 0;
        uint8_t requisite = 0;
        uint8_t kind = 0;
    };

    struct GoodsRecord {
        QByteArray name = QByteArray(25, '\0');
        uint64_t barcode = 0;  // 48 bits
        uint64_t price = 0;    // kopecks, 40 bits
        uint8_t section = 0;
    };

    // The parts of the state answer that nothing else sets.
    struct Status {
        uint8_t onlineMode = 0;  // high half of the mode byte
        uint8_t flash = 0;
        uint8_t battery = 0;
        uint16_t documentNumber = 1;
        uint8_t documentState = 0;
    };

    struct Exchange {
        QByteArray request;
        QByteArray response;  // as it went on the line; empty for silence
    };

    DeviceEmulator();

    // Back to the fresh device described above.
    void reset();

    // The answer bytes for one request frame (empty: silence).
    QByteArray respond(const QByteArray& request);
    // The same, with the timing the answer should have on the line.
    EmulatorReply exchange(const QByteArray& request);

    // Whether group/index/line names a parameter of the catalogue (one-cliché
    // devices have no cliché 2).
    bool isParameter(int group, int index, int line) const;

    // ---- Identity and options -------------------------------------------------
    int32_t factoryNumber() const { return factoryNumber_; }
    void setFactoryNumber(int32_t number) { factoryNumber_ = number; }
    bool oneClicheOnly() const { return oneClicheOnly_; }
    void setOneClicheOnly(bool on) { oneClicheOnly_ = on; }
    // Working mode is the same as "ИНН programmed".
    bool workingMode() const { return workingMode_; }
    void setWorkingMode(bool on) { workingMode_ = on; }
    // An invalid time follows the host clock.
    void setClock(const QDateTime& time) { clock_ = time; }
    QDateTime clock() const;

    // ---- Stores ----------------------------------------------------------------
    // 25 bytes; empty for an address outside the catalogue.
    QByteArray parameter(int group, int index, int line) const;
    // Stores up to 25 bytes (zero-filled); false for an address outside the catalogue.
    bool setParameter(int group, int index, int line, const QByteArray& data);
    // The record flag of an operator, service, requisite, document name or cliché.
    bool access(int group, int index) const;
    bool setAccess(int group, int index, bool allowed);

    Form form(int number) const;  // 1..8; absent for other numbers
    bool setForm(int number, const Form& form);
    GoodsRecord goods(int index) const;  // 0..1000
    bool setGoods(int index, const GoodsRecord& record);

    uint64_t taxpayerNumber() const { return taxpayerNumber_; }
    void setTaxpayerNumber(uint64_t number) { taxpayerNumber_ = number & 0xFFFFFFFFFFFFULL; }
    int32_t innPassword() const { return innPassword_; }
    QDate innDate() const { return innDate_; }
    uint8_t group() const { return group_; }
    void setGroup(uint8_t group) { group_ = group; }
    Status& status() { return status_; }
    const Status& status() const { return status_; }

    // ---- Misbehaviour ---------------------------------------------------------
    bool addFault(const Fault& fault) { return faults_.add(fault); }
    void clearFaults() { faults_.clear(); }
    const QVector<Fault>& faults() const { return faults_.faults(); }
    // For every answer; a matching Delay or Pace fault takes precedence.
    void setDelay(int ms) { delayMs_ = qMax(0, ms); }
    int delay() const { return delayMs_; }
    void setPace(int baud) { paceBaud_ = qMax(0, baud); }
    int pace() const { return paceBaud_; }

    // ---- Log ------------------------------------------------------------------
    // The last LogLimit exchanges, oldest first.
    const QVector<Exchange>& log() const { return log_; }
    void clearLog() { log_.clear(); }

private:
    QByteArray process(const QByteArray& request);
    QByteArray parameterCommand(const QByteArray& request);
    QByteArray formCommand(const QByteArray& request);
    QByteArray innCommand(const QByteArray& request);
    QByteArray goodsCommand(const QByteArray& request);
    QByteArray stateCommand() const;

    static constexpr int RecordCount = 24 + 1 + 24 + 24 + 16;
    static constexpr int AccessCount = 8 + 1 + 8 + 8 + 2;
    int recordSlot(int group, int index, int line) const;
    int accessSlot(int group, int index) const;

    int32_t factoryNumber_ = 0;
    bool oneClicheOnly_ = false;
    bool workingMode_ = false;
    QDateTime clock_;
    std::array<QByteArray, RecordCount> records_;
    std::array<bool, AccessCount> access_{};
    std::array<Form, FormCount> forms_{};
    QVector<GoodsRecord> goods_;
    uint64_t taxpayerNumber_ = 0;
    int32_t innPassword_ = 0;
    QDate innDate_;
    uint8_t group_ = 2;
    Status status_;
    FaultSet faults_;
    int delayMs_ = 0;
    int paceBaud_ = 0;
    QVector<Exchange> log_;
};
