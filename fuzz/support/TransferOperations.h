#pragma once

// The device operations of several exchanges, as the program runs them: the
// whole configuration down and up, the form table, the goods database (all,
// one row, the changed rows, erase), the document name, the ИНН and the
// wizard's four list pages (all items or one, read or write). They run against whatever link,
// dialogs and progress are installed.

#include <cstdint>

class GoodsTable;
class Progress;
class UserDialogs;
struct DeviceConfiguration;

// The kind of "Выгрузить из АС" for all goods.
constexpr uint8_t ReadAllGoodsKind = 3;

// Runs operation `operation` (its low four bits choose the kind, the high
// four its variant: the row, the page item, with or without the wizard).
void RunTransferOperation(uint8_t operation, DeviceConfiguration& config, GoodsTable& table,
                          Progress& progress, UserDialogs& dialogs);
// True for the operations that change or read the goods table.
bool IsGoodsOperation(uint8_t operation);

// Every text of the configuration keeps its terminator.
void CheckConfiguration(const DeviceConfiguration& config);
// Every row is one the program could have made, and the table can be saved.
void CheckGoodsTable(const GoodsTable& table);
