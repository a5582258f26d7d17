#pragma once

// A core file that includes a widget header: the layer check must fail on it.
#include <QMessageBox>
