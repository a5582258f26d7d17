#pragma once

#include "wizard/ui/ThreeLineFrame.h"

// Page 4: the eight additional requisites.
class TKlsFrame : public TThreeLineFrame {
    Q_OBJECT
public:
    TKlsFrame(TForm5* host, QWidget* parent);
};
