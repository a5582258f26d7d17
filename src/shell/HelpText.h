#pragma once

#include <QStringList>

// The help window's table of BSO groups and variants, line by line.
const QStringList& HelpTextLines();
