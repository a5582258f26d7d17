// The main window's own folder includes itself and the pages freely.
#include "app/MainWindow.h"

#include "goods/ui/IncludesMainWindow.h"
