#pragma once

// Programming one BSO form into the device and reading it back. The model is
// touched only by a read that succeeded.

#include "shell/ItemLoop.h"

struct DeviceConfiguration;
class UserDialogs;

// Sends form `formNumber` (1..8) with its slot's variant, requisite and kind as
// they are stored. Throws ConversionError before sending when the factory
// number does not convert.
ItemResult ProgramForm(const DeviceConfiguration& config, int formNumber);

// "Запрограммировать" of the constructor page once a form and a variant are
// chosen: ProgramForm and its message, success or failure. True on success.
bool ProgramFormReporting(const DeviceConfiguration& config, int formNumber, UserDialogs& dialogs);

// What a successful read does to the form's status byte: the constructor's
// single read leaves it, the reading of the whole table sets it from the
// answered form number (0: the device has no such form).
enum class FormStatusUpdate { Keep, FromAnswer };

// Reads form `formNumber` (1..8), sending its slot's bytes as the request's
// three form bytes; on success the slot takes the answered variant, requisite
// and kind as they came.
ItemResult ReadForm(DeviceConfiguration& config, int formNumber,
                    FormStatusUpdate status = FormStatusUpdate::Keep);
