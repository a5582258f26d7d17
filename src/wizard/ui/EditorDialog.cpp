#include "wizard/ui/EditorDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EditorDialog::EditorDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    field = new QLineEdit(this);
    connect(field, &QLineEdit::returnPressed, this, &EditorDialog::enterPressed);
}

void EditorDialog::addButtons(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    applyButton = new QPushButton(QStringLiteral("Применить"), this);
    for (QPushButton* b : {applyButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(applyButton, &QPushButton::clicked, this, &EditorDialog::applyClicked);
    connect(cancelButton, &QPushButton::clicked, this, &EditorDialog::cancelClicked);
}

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Accepted = false;
    field->setFocus();
    field->deselect();
    field->end(false);
}

void EditorDialog::enterPressed() {
    applyClicked();
}

void EditorDialog::applyClicked() {
    if (!entryAcceptable()) return;
    Accepted = true;
    done(QDialog::Accepted);
}

void EditorDialog::cancelClicked() {
    Accepted = false;
    done(QDialog::Rejected);
}

void EditorDialog::reject() {
    cancelClicked();
}
