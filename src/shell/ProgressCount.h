#pragma once

#include <QString>

// The wait window's count under the operation: "Загрузка товаров: 517 из 1001"
// for the operation "Загрузка товаров..."; the bare count without one.
QString ProgressCountText(const QString& operation, int done, int total);
