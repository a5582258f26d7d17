#include "wizard/ui/DocumentNamePage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "config/DeviceConfiguration.h"
#include "config/ui/ConfigurationUndo.h"
#include "shell/DeviceOperation.h"
#include "shell/SuccessWatch.h"
#include "shell/UserDialogs.h"
#include "shell/ui/DeviceLineEdit.h"
#include "shell/ui/Guarded.h"
#include "wizard/DeviceLine.h"
#include "wizard/PageTransfer.h"
#include "wizard/ui/WizardWindow.h"

namespace {
// The kind of step that merges the name's keys.
constexpr int TypedNameStep = 1;
}  // namespace

DocumentNamePage::DocumentNamePage(WizardWindow* host, QWidget* parent)
    : WizardPage(host, 2, parent) {
    const int y = addTextLines(
        {QStringLiteral("По умолчанию название ДСО - \"КВИТАНЦИЯ\", печатаемое посередине строки"),
         QStringLiteral("широким шрифтом. Название ДСО печатается на каждом документе и на каждой"),
         QStringLiteral("его копии. В учебном режиме есть возможность запрограммировать другое"),
         QStringLiteral("название документа.")},
        8, addHeading(QStringLiteral("Название ДСО")));

    addText(QStringLiteral("ДСО:"), 8, y + 16);
    nameEdit = new QLineEdit(this);
    SetupDeviceLineEdit(nameEdit);
    nameEdit->setGeometry(8, y + 32, 260, 22);
    wideBox = new QCheckBox(QStringLiteral("Широкий"), this);
    wideBox->setGeometry(280, y + 32, 120, 22);

    readButton = new QPushButton(QStringLiteral("Выгрузить из АС"), this);
    readButton->setGeometry(8, y + 72, 130, 25);
    writeButton = new QPushButton(QStringLiteral("Загрузить в АС"), this);
    writeButton->setGeometry(146, y + 72, 130, 25);
    for (QPushButton* b : {readButton, writeButton}) b->setAutoDefault(false);

    addUndo(this);
    connect(nameEdit, &QLineEdit::textChanged, this, [this] { nameEdited(); });
    connect(wideBox, &QCheckBox::toggled, this, [this] { wideClicked(); });
    connect(readButton, &QPushButton::clicked, this, Guarded([this] { readClicked(); }));
    connect(writeButton, &QPushButton::clicked, this, Guarded([this] { writeClicked(); }));
}

void DocumentNamePage::Fill() {
    // Showing the stored name changes nothing in the store: only the user's
    // edits rebuild it.
    const DeviceText& name = CurrentConfiguration().documentName;
    filling_ = true;
    wideBox->setChecked(IsWideLine(name));
    nameEdit->setText(LineText(name));
    SetDeviceLineLimit(nameEdit, LineLengthLimit(wideBox->isChecked()));
    filling_ = false;
    showNavigation();
}

void DocumentNamePage::storeName() {
    StoreLine(CurrentConfiguration().documentName, nameEdit->text(), wideBox->isChecked());
}

void DocumentNamePage::nameEdited() {
    if (filling_) return;
    // The keys typed in a row are one step of the configuration's history;
    // while the field has the focus its own Ctrl+Z takes them back.
    recordEdit(
        EditStepText(), [this] { storeName(); }, TypedNameStep);
}

void DocumentNamePage::wideClicked() {
    if (filling_) return;
    // A name longer than a wide line takes is not cut without a word: the box
    // is refused, as the line editor refuses "Применить".
    const QString problem = LineLengthProblem(nameEdit->text(), wideBox->isChecked());
    if (!problem.isEmpty()) {
        filling_ = true;
        wideBox->setChecked(false);
        filling_ = false;
        Dialogs().warning(problem);
        return;
    }
    SetDeviceLineLimit(nameEdit, LineLengthLimit(wideBox->isChecked()));
    recordEdit(EditStepText(), [this] { storeName(); });
}

void DocumentNamePage::readClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    SuccessWatch watch;
    ReadDocumentName(CurrentConfiguration(), [this] { Fill(); });
    if (watch.succeeded() && host_)
        host_->writes().read(WizardSection::DocumentName, CurrentConfiguration());
}

void DocumentNamePage::writeClicked() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    SuccessWatch watch;
    WriteDocumentName(CurrentConfiguration());
    if (watch.succeeded() && host_)
        host_->writes().written(WizardSection::DocumentName, CurrentConfiguration());
}
