#pragma once

#include "wizard/ui/ThreeLinePage.h"

// Page 4: the eight additional requisites.
class RequisitesPage : public ThreeLinePage {
    Q_OBJECT
public:
    RequisitesPage(WizardWindow* host, QWidget* parent);
};
