#pragma once

#include <cstdint>

#include "device/ParameterGroups.h"

// Characters of a password kept from the device.
constexpr int PasswordDigits = 4;
