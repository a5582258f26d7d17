#include "wizard/ui/EditorDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EditorDialog::EditorDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Edit1 = new QLineEdit(this);
    connect(Edit1, &QLineEdit::returnPressed, this, &EditorDialog::Edit1KeyPress);
}

void EditorDialog::addButtons(QVBoxLayout* layout) {
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
    connect(Button1, &QPushButton::clicked, this, &EditorDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &EditorDialog::Button2Click);
}

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Accepted = false;
    Edit1->setFocus();
    Edit1->deselect();
    Edit1->end(false);
}

void EditorDialog::Edit1KeyPress() {
    Button1Click();
}

void EditorDialog::Button1Click() {
    Accepted = true;
    done(QDialog::Accepted);
}

void EditorDialog::Button2Click() {
    Accepted = false;
    done(QDialog::Rejected);
}

void EditorDialog::reject() {
    Button2Click();
}
