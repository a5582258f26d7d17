#pragma once

// A shared window that includes a page: the layer check must fail on it.
#include "goods/ui/GoodsPage.h"
#include "shell/ui/GridPage.h"
