#pragma once

// A device file that reaches up into the goods: the layer check must name it.
#include "goods/GoodsRecord.h"
