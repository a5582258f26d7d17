#pragma once

#include "wizard/ui/ThreeLineFrame.h"

// Page 3: the eight services.
class TUslFrame : public TThreeLineFrame {
    Q_OBJECT
public:
    TUslFrame(TForm5* host, QWidget* parent);

protected:
    QString exitQuestion() const override;
};
