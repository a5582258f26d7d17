// A shared window that includes the code creating the pages: the layer check must fail on it.
#include "app/ProgramWindows.h"
