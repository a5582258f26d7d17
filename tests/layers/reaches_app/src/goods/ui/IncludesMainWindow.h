#pragma once

// A page that includes the main window: the layer check must fail on it.
#include "app/MainWindow.h"
