#pragma once

// Programming one BSO form into the device and reading it back. The model is
// touched only by a read that succeeded.

#include "shell/ItemLoop.h"

struct DeviceConfiguration;

// Sends form `formNumber` (1..8) with its slot's variant, requisite and kind as
// they are stored. Throws ConversionError before sending when the factory
// number does not convert.
ItemResult ProgramForm(const DeviceConfiguration& config, int formNumber);

// Reads form `formNumber` (1..8); on success its slot takes the answered
// variant, requisite and kind as they came, its status stays.
ItemResult ReadForm(DeviceConfiguration& config, int formNumber);
