#pragma once

#include <cstdint>

// Addresses of the device's parameters: group, index (1-based) and line
// (1-based). The exchange itself needs them (an operator's password is masked
// in the log), so they live with the device layer.
enum ParameterGroup : uint8_t {
    GroupOperator = 0,
    GroupDocumentName = 1,
    GroupService = 2,
    GroupRequisite = 3,
    GroupCliche = 4,
};

enum OperatorLine : uint8_t {
    OperatorPositionLine = 1,
    OperatorNameLine = 2,
    OperatorPasswordLine = 3,
};
