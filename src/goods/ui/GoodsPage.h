#pragma once

#include <QFrame>
#include <functional>

class GoodsSearchBar;
class GoodsTable;
class GridPage;
class QBoxLayout;
class QGroupBox;
class QCheckBox;
class QFileDialog;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QUndoStack;

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
    // Every change of the table made on the page, to take back (Ctrl+Z,
    // "Отменить") and do again (Ctrl+Y).
    QUndoStack* undoStack = nullptr;
    QAction* undoAction = nullptr;  // "Отменить"
    QAction* redoAction = nullptr;  // "Повторить"
    QAction* editAction = nullptr;  // "Изменить": the record editor on the current row
    QAction* clearRecordAction = nullptr;  // "Очистить": the current record blank
    // A row's context menu: "Изменить", "Очистить", "Отменить".
    QMenu* rowMenu = nullptr;

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
    void clearRecordClicked();

    // What the table holds that the device does not, for the question before
    // it is lost ("товары 2, 6 и ещё 3"); empty when nothing.
    QString unsentChanges() const;

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
    // "Очистить поля"'s question, "Нет" by default.
    static QString ClearFieldsQuestion();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The grid's keys: Enter and F2 edit, Delete clears, typing searches.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The device box and the buttons under the grid (the page's smallest
    // arrangement) or, `beside`, in a column at its right.
    void arrangeControls(bool beside);
    void buildUndo();
    void buildRowMenu();
    // Runs a step that changes the table as one undoable step named `text`.
    bool undoable(const QString& text, const std::function<bool()>& edit);
    // True when nothing unsent would be replaced, or the user agreed.
    bool mayReplaceUnsent(bool currentOnly, const QString& step);

    PageHost* pageHost_ = nullptr;
    GoodsTable* table_ = nullptr;
    QBoxLayout* body_ = nullptr;
    QWidget* controls_ = nullptr;
    QGroupBox* device_ = nullptr;
    int gridWidth_ = 0;         // at the smallest page
    int besidePanelWidth_ = 0;  // the controls arranged beside the grid
    bool controlsBeside_ = false;
};
