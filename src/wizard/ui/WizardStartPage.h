#pragma once

#include "wizard/ui/WizardPage.h"

class QPushButton;

// Page 0: the greeting and the whole-configuration download that unlocks
// "Далее >>>".
class WizardStartPage : public WizardPage {
    Q_OBJECT
public:
    WizardStartPage(WizardWindow* host, QWidget* parent);

    QPushButton* readButton = nullptr;  // "Выгрузить из АС"

    void readClicked();

protected:
    bool exitAlwaysAsks() const override { return true; }
};
