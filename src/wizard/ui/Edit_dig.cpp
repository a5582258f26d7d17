#include "wizard/ui/Edit_dig.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/ParameterCatalogue.h"
#include "shell/ui/DigitFilter.h"

TForm7* Form7 = nullptr;

namespace {

// Enter closes the editor before the digit filter would swallow it.
class EnterKey : public QObject {
public:
    EnterKey(TForm7* editor) : QObject(editor), editor_(editor) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                editor_->Edit1KeyPress();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TForm7* editor_;
};

}  // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Редактирование числа...."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QVBoxLayout(this);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(PasswordDigits);
    InstallDigitFilter(Edit1);
    // Installed last, so it sees the keys first.
    Edit1->installEventFilter(new EnterKey(this));
    layout->addWidget(Edit1);

    auto* buttons = new QHBoxLayout;
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1 = new QPushButton(QStringLiteral("Применить"), this);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
}

void TForm7::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Accepted = false;
    Edit1->setFocus();
    Edit1->deselect();
    Edit1->end(false);
}

void TForm7::Edit1KeyPress() {
    Button1Click();
}

void TForm7::Button1Click() {
    Accepted = true;
    done(QDialog::Accepted);
}

void TForm7::Button2Click() {
    Accepted = false;
    done(QDialog::Rejected);
}

void TForm7::reject() {
    Button2Click();
}
