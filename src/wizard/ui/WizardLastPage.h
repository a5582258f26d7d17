#pragma once

#include <QList>

#include "wizard/ui/WizardPage.h"

class QLabel;

// Page 6: says what this opening has put into the device and what not,
// offers to write what is missing, and "Готово" reads the form table and
// hands over to the constructor page.
class WizardLastPage : public WizardPage {
    Q_OBJECT
public:
    WizardLastPage(WizardWindow* host, QWidget* parent);

    void Fill();
    void doneClicked();
    // "Записать незаписанные": the sections the device does not hold, in one upload.
    void writeMissingClicked();

    QList<QLabel*> TextLines;   // the closing words once everything is in the device
    QLabel* summary = nullptr;  // what was written and what was not
    QPushButton* writeMissingButton = nullptr;

protected:
    bool exitAlwaysAsks() const override { return true; }

private:
    QLabel* picture_ = nullptr;
};
