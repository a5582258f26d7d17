#pragma once

// Contents such as an operator would have made with the program's own
// editors: the start of the seed files, and what the write transfers send.

struct DeviceConfiguration;
class GoodsTable;

// Operators with passwords, a document name, services, requisites, both
// clichés and all eight forms, every item writable.
void FillSampleConfiguration(DeviceConfiguration& config);
// Rows 1..rows with codes, names in both fonts, barcodes, sections and prices.
void FillSampleGoods(GoodsTable& table, int rows);
