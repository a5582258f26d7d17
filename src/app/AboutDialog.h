#pragma once

#include <QDialog>

class QLabel;

// The about box: product name, file version and company of the program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QLabel* NameValue = nullptr;
    QLabel* VersionValue = nullptr;
    QLabel* CompanyValue = nullptr;
};
