#pragma once

#include "wizard/ui/ThreeLinePage.h"

// Page 3: the eight services.
class ServicesPage : public ThreeLinePage {
    Q_OBJECT
public:
    ServicesPage(WizardWindow* host, QWidget* parent);

protected:
    QString exitQuestion() const override;
};
