#pragma once

// A device file that reaches up into the emulator: the layer check must fail on it.
#include "emulator/EmulatorLink.h"
