#pragma once

// The one in-memory configuration of the device. Its byte layout is also the
// configuration file's, so every record is a packed array of plain bytes and
// every size and offset that the file depends on is pinned below.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One printable line: width flag '0' (narrow, 24 characters) or '1' (wide, 12),
// the characters in Windows-1251, and a terminator that is always zero.
struct DeviceText {
    char bytes[26];
};

struct OperatorRecord {
    DeviceText position;
    DeviceText name;
    char password[5];  // up to 4 ASCII digits, zero-terminated
    uint8_t access;    // non-zero: the device lets this operator be changed
};

struct ThreeLineRecord {
    DeviceText lines[3];
    uint8_t access;
};

struct ClicheRecord {
    DeviceText lines[8];
    uint8_t status;
};

struct FormSlot {
    uint8_t status;     // 1: the device reported the form, 0: absent
    uint8_t variant;    // 0 none, 1..6
    uint8_t requisite;  // 0 none, 1..8
    uint8_t kind;       // 0 none, 1 С, 2 Н, 3 К
};

constexpr int OperatorCount = 8;
constexpr int ServiceCount = 8;
constexpr int RequisiteCount = 8;
constexpr int ClicheCount = 2;
constexpr int ClicheLineCount = 8;
constexpr int FormCount = 8;
constexpr int ReservedSize = 632;

struct DeviceConfiguration {
    OperatorRecord operators[OperatorCount];
    DeviceText documentName;
    ThreeLineRecord services[ServiceCount];
    ThreeLineRecord requisites[RequisiteCount];
    uint8_t reserved[ReservedSize];
    ClicheRecord cliches[ClicheCount];
    FormSlot forms[FormCount];
};

#pragma pack(pop)

static_assert(sizeof(DeviceText) == 26);
static_assert(sizeof(OperatorRecord) == 58);
static_assert(offsetof(OperatorRecord, name) == 26);
static_assert(offsetof(OperatorRecord, password) == 52);
static_assert(offsetof(OperatorRecord, access) == 57);
static_assert(sizeof(ThreeLineRecord) == 79);
static_assert(offsetof(ThreeLineRecord, access) == 78);
static_assert(sizeof(ClicheRecord) == 209);
static_assert(offsetof(ClicheRecord, status) == 208);
static_assert(sizeof(FormSlot) == 4);

// The block that follows the form table in the configuration file.
constexpr std::size_t ConfigurationBlockSize = offsetof(DeviceConfiguration, forms);
constexpr std::size_t FormTableSize = sizeof(FormSlot) * FormCount;
static_assert(ConfigurationBlockSize == 2804);
static_assert(FormTableSize == 32);
static_assert(offsetof(DeviceConfiguration, documentName) == 464);
static_assert(offsetof(DeviceConfiguration, services) == 490);
static_assert(offsetof(DeviceConfiguration, requisites) == 1122);
static_assert(offsetof(DeviceConfiguration, reserved) == 1754);
static_assert(offsetof(DeviceConfiguration, cliches) == 2386);
static_assert(sizeof(DeviceConfiguration) == 2836);

// The state the main window starts with: every form present with no variant.
void ResetFormTable(DeviceConfiguration& config);
// Empties every text and password, sets every access and cliché status to 1;
// the form table and the reserved block are left as they are.
void ResetConfiguration(DeviceConfiguration& config);

// The configuration the main window owns for the whole run.
DeviceConfiguration& CurrentConfiguration();
