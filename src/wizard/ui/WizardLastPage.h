#pragma once

#include <QList>

#include "wizard/ui/WizardPage.h"

class QLabel;

// Page 6: "Готово" reads the form table and hands over to the constructor page.
class WizardLastPage : public WizardPage {
    Q_OBJECT
public:
    WizardLastPage(WizardWindow* host, QWidget* parent);

    void Fill();
    void doneClicked();

    QList<QLabel*> TextLines;

protected:
    bool exitAlwaysAsks() const override { return true; }
};
