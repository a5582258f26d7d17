// A link below the device layer that reaches into the configuration: the layer
// check must look into the device layer's subfolders and name it.
#include "config/ParameterCatalogue.h"
