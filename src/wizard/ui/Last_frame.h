#pragma once

#include <QList>

#include "wizard/ui/WizardPage.h"

class QLabel;

// Page 6: "Готово" reads the form table and hands over to the constructor page.
class TLastFrame : public TWizardPage {
    Q_OBJECT
public:
    TLastFrame(TForm5* host, QWidget* parent);

    void Fill();
    void Button1Click();

    QList<QLabel*> TextLines;

protected:
    bool exitAlwaysAsks() const override { return true; }
};
