#pragma once

#include <QFrame>

class GoodsTable;
class GridPage;
class QCheckBox;
class QFileDialog;
class QLabel;
class QPushButton;

// The goods database page of the main window: the goods table with its
// device transfers, its file and the record editor.
class PageHost;

class GoodsPage : public QFrame {
    Q_OBJECT
public:
    // Without a host, "Выход" hides the page itself.
    explicit GoodsPage(QWidget* parent = nullptr, PageHost* pageHost = nullptr);

    GoodsTable& table() { return *table_; }
    GridPage* StringGrid1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;  // "Текущий"
    QPushButton* Button1 = nullptr;  // "Выход"
    QPushButton* BitBtn1 = nullptr;  // "Выгрузить из АС"
    QPushButton* BitBtn2 = nullptr;  // "Загрузить в АС"
    QPushButton* BitBtn3 = nullptr;  // "Сохранить в файл"
    QPushButton* BitBtn4 = nullptr;  // "Загрузить из файла"
    QPushButton* BitBtn5 = nullptr;  // "Очистить поля"
    QPushButton* BitBtn6 = nullptr;  // "Очистить базу в АС"

    int CurrentRow() const;
    int CurrentCol() const;

    void Button1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void StringGrid1DblClick();

    // The file steps after the dialogs; an empty name does nothing.
    void SaveToFile(const QString& path);
    void LoadFromFile(const QString& path);

    // The dialogs "Сохранить в файл" and "Загрузить из файла" run.
    static QFileDialog* CreateSaveDialog(QWidget* parent);
    static QFileDialog* CreateOpenDialog(QWidget* parent);

private:
    PageHost* pageHost_ = nullptr;
    GoodsTable* table_ = nullptr;
};
