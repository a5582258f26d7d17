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

    QLineEdit* nameEdit = nullptr;
    QCheckBox* wideBox = nullptr;        // "Широкий"
    QPushButton* readButton = nullptr;   // "Выгрузить из АС"
    QPushButton* writeButton = nullptr;  // "Загрузить в АС"

    void nameEdited();
    void wideClicked();
    void readClicked();
    void writeClicked();

private:
    void storeName();

    bool filling_ = false;
};
