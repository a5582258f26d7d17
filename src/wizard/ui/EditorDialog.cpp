#include "wizard/ui/EditorDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TEditorDialog::TEditorDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Edit1 = new QLineEdit(this);
    connect(Edit1, &QLineEdit::returnPressed, this, &TEditorDialog::Edit1KeyPress);
}

void TEditorDialog::addButtons(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1 = new QPushButton(QStringLiteral("Применить"), this);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, &TEditorDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEditorDialog::Button2Click);
}

void TEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Accepted = false;
    Edit1->setFocus();
    Edit1->deselect();
    Edit1->end(false);
}

void TEditorDialog::Edit1KeyPress() {
    Button1Click();
}

void TEditorDialog::Button1Click() {
    Accepted = true;
    done(QDialog::Accepted);
}

void TEditorDialog::Button2Click() {
    Accepted = false;
    done(QDialog::Rejected);
}

void TEditorDialog::reject() {
    Button2Click();
}
