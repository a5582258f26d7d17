#pragma once

// The goods page's device commands: reading records into the goods table,
// writing them from it (all, one, or the changed ones), and erasing the
// device's database. One record travels in one goods command exchange; the
// loops over several records are the shared item loop. Every exchange tells
// the table its outcome, so that it knows which records are in step.

#include <QByteArray>
#include <QVector>
#include <cstdint>

#include "device/Protocol.h"
#include "goods/GoodsDeviceRecord.h"
#include "goods/GoodsRecord.h"
#include "shell/ItemLoop.h"

class GoodsTable;
class Progress;
class UserDialogs;

// Reads / writes device record `number` (0..1000) with one exchange.
ItemResult ReadGoodsRecord(int number, GoodsDeviceRecord& record);
ItemResult WriteGoodsRecord(int number, const GoodsDeviceRecord& record);

// "Выгрузить из АС" with "Текущий": table row `row` (1..1001). True on success.
bool ReadCurrentGoods(GoodsTable& table, int row, Progress& progress, UserDialogs& dialogs);
// "Выгрузить из АС" for all records. True when every record was asked for
// (also when some were passed over), false when the user stopped.
bool ReadAllGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs);
// "Загрузить в АС" with "Текущий".
bool WriteCurrentGoods(GoodsTable& table, int row, Progress& progress, UserDialogs& dialogs);
// "Загрузить в АС" for all records, blank rows included.
bool WriteAllGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs);
// "Загрузить в АС" for all records writes every device record, so a table
// without goods blanks the device's whole database: true when the table holds
// goods, or when the user, asked with "Нет" as the default, wants that.
bool ConfirmWholeGoodsWrite(const GoodsTable& table, UserDialogs& dialogs);
QString EmptyGoodsWriteQuestion();
// "Загрузить изменённые": the records the table holds as changed, with the
// wait window, progress (over those records), questions and final message of
// "Загрузить в АС". With none changed it says so and sends nothing (false).
// Rows emptied while the device's copy is unknown are not sent: the user is
// told so first (BlankRowsNotSentMessage).
bool WriteChangedGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs);
// "Очистить базу в АС", after its question. False when not confirmed or
// stopped. The table's rows stay; what it knows of the device follows.
bool EraseDeviceGoods(GoodsTable& table, Progress& progress, UserDialogs& dialogs);

// The message when no record is changed.
QString NothingChangedMessage();
// The message for `count` emptied rows that "Загрузить изменённые" leaves out.
QString BlankRowsNotSentMessage(int count);
