#pragma once

#include <QFrame>

class GoodsSearchBar;
class GoodsTable;
class GridPage;
class QBoxLayout;
class QGroupBox;
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
    GridPage* grid = nullptr;
    GoodsSearchBar* searchBar = nullptr;        // "Поиск:"
    QCheckBox* currentOnlyBox = nullptr;        // "Текущий"
    QPushButton* exitButton = nullptr;          // "Выход"
    QPushButton* readButton = nullptr;          // "Выгрузить из АС"
    QPushButton* writeButton = nullptr;         // "Загрузить в АС"
    QPushButton* writeChangedButton = nullptr;  // "Загрузить изменённые"
    QLabel* changedLabel = nullptr;             // how many records are changed
    QPushButton* saveFileButton = nullptr;      // "Сохранить в файл"
    QPushButton* loadFileButton = nullptr;      // "Загрузить из файла"
    QPushButton* clearButton = nullptr;         // "Очистить поля"
    QPushButton* clearDeviceButton = nullptr;   // "Очистить базу в АС"
    QPushButton* exportCsvButton = nullptr;     // "Экспорт в CSV..."
    QPushButton* importCsvButton = nullptr;     // "Импорт из CSV..."

    int CurrentRow() const;
    int CurrentCol() const;

    void exitClicked();
    void readClicked();
    void writeClicked();
    void writeChangedClicked();
    void saveFileClicked();
    void loadFileClicked();
    void clearClicked();
    void clearDeviceClicked();
    void exportCsvClicked();
    void importCsvClicked();
    void gridDoubleClicked();

    // The file steps after the dialogs; an empty name does nothing.
    void SaveToFile(const QString& path);
    void LoadFromFile(const QString& path);
    void ExportToCsv(const QString& path);
    void ImportFromCsv(const QString& path);

    // The dialogs "Сохранить в файл" and "Загрузить из файла" run.
    static QFileDialog* CreateSaveDialog(QWidget* parent);
    static QFileDialog* CreateOpenDialog(QWidget* parent);
    // The dialogs of "Экспорт в CSV..." and "Импорт из CSV...".
    static QFileDialog* CreateCsvExportDialog(QWidget* parent);
    static QFileDialog* CreateCsvImportDialog(QWidget* parent);

    // "Изменено: N", the number of changed records.
    // "Изменено: 3", and a line "неизвестно: 2" while some rows are unread.
    static QString ChangedCountText(int count, int unread = 0);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The device box and the buttons under the grid (the page's smallest
    // arrangement) or, `beside`, in a column at its right.
    void arrangeControls(bool beside);

    PageHost* pageHost_ = nullptr;
    GoodsTable* table_ = nullptr;
    QBoxLayout* body_ = nullptr;
    QWidget* controls_ = nullptr;
    QGroupBox* device_ = nullptr;
    int gridWidth_ = 0;         // at the smallest page
    int besidePanelWidth_ = 0;  // the controls arranged beside the grid
    bool controlsBeside_ = false;
};
