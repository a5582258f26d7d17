#include "wizard/ui/LineEditorDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/UserDialogs.h"
#include "shell/ui/DeviceLineEdit.h"
#include "shell/ui/Labels.h"
#include "wizard/DeviceLine.h"
#include "wizard/ui/WizardPage.h"

LineEditorDialog* SharedLineEditor = nullptr;

LineEditorDialog::LineEditorDialog(QWidget* parent)
    : EditorDialog(QStringLiteral("Редактирование строки..."), parent) {
    auto* layout = new QVBoxLayout(this);
    for (const QString& text :
         {QStringLiteral("Все программируемые строки имеют длину до 24 символов"),
          QStringLiteral("узким шрифтом или до 12 символов широким шрифтом.")}) {
        layout->addWidget(ColouredLabel(text, this));
    }

    const QFont mono = CourierFont(16);
    field->setFont(mono);
    SetupDeviceLineEdit(field);
    // Room for the 24 characters the field takes.
    field->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(26, QChar(u'Ш'))));
    layout->addWidget(field);

    wideBox = new QCheckBox(QStringLiteral("Широкий"), this);
    layout->addWidget(wideBox);

    addButtons(layout);
    setTabOrder(field, wideBox);
    setTabOrder(wideBox, applyButton);
    setTabOrder(applyButton, cancelButton);
}

bool LineEditorDialog::entryAcceptable() {
    const QString problem = LineLengthProblem(field->text(), wideBox->isChecked());
    if (problem.isEmpty()) return true;
    // Refused as the goods editor refuses: the error caption, no icon.
    Dialogs().inform(CaptionError(), problem, DialogIcon::None);
    field->setFocus();
    return false;
}
