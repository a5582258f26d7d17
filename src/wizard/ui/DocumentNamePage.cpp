#include "wizard/ui/DocumentNamePage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "config/DeviceConfiguration.h"
#include "shell/DeviceOperation.h"
#include "shell/ui/DeviceLineEdit.h"
#include "shell/ui/Guarded.h"
#include "wizard/DeviceLine.h"
#include "wizard/PageTransfer.h"

DocumentNamePage::DocumentNamePage(WizardWindow* host, QWidget* parent)
    : WizardPage(host, 2, parent) {
    const int y = addTextLines(
        {QStringLiteral("По умолчанию название ДСО - \"КВИТАНЦИЯ\", печатаемое посередине строки"),
         QStringLiteral("широким шрифтом. Название ДСО печатается на каждом документе и на каждой"),
         QStringLiteral("его копии. В учебном режиме есть возможность запрограммировать другое"),
         QStringLiteral("название документа.")},
        8, addHeading(QStringLiteral("Название ДСО")));

    addText(QStringLiteral("ДСО:"), 8, y + 16);
    Edit1 = new QLineEdit(this);
    SetupDeviceLineEdit(Edit1);
    Edit1->setGeometry(8, y + 32, 260, 22);
    CheckBox1 = new QCheckBox(QStringLiteral("Широкий"), this);
    CheckBox1->setGeometry(280, y + 32, 120, 22);

    BitBtn1 = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    BitBtn1->setGeometry(8, y + 72, 130, 25);
    BitBtn2 = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    BitBtn2->setGeometry(146, y + 72, 130, 25);
    for (QPushButton* b : {BitBtn1, BitBtn2}) b->setAutoDefault(false);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
}

void DocumentNamePage::Fill() {
    const DeviceText& name = CurrentConfiguration().documentName;
    // Both steps rebuild the stored name from the controls, which then show
    // exactly its flag and text.
    const bool wide = IsWideLine(name);
    const QString text = LineText(name);
    CheckBox1->setChecked(wide);
    Edit1->setText(text);
    showNavigation();
}

void DocumentNamePage::Edit1Change() {
    StoreLine(CurrentConfiguration().documentName, Edit1->text(), CheckBox1->isChecked());
}

void DocumentNamePage::CheckBox1Click() {
    Edit1Change();
}

void DocumentNamePage::BitBtn1Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    ReadDocumentName(
        CurrentConfiguration(), [this] { Edit1->clear(); }, [this] { Fill(); });
}

void DocumentNamePage::BitBtn2Click() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    WriteDocumentName(CurrentConfiguration());
}
