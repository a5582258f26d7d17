#pragma once

#include "wizard/ui/WizardPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// Page 2: the document name, edited in place with its "Широкий" box; every
// change is stored at once.
class DocumentNamePage : public WizardPage {
    Q_OBJECT
public:
    DocumentNamePage(WizardWindow* host, QWidget* parent);

    void Fill();

    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;  // "Широкий"
    QPushButton* BitBtn1 = nullptr;  // "Выгрузить из АС"
    QPushButton* BitBtn2 = nullptr;  // "Загрузить в АС"

    void Edit1Change();
    void CheckBox1Click();
    void BitBtn1Click();
    void BitBtn2Click();
};
