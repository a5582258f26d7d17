#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The help window with the table of BSO groups and variants.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QPlainTextEdit* textView = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
