#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>
#include <functional>

class ConfigurationUndo;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class WizardWindow;

// What every page of the "Помощник" has: its place in the page order, the
// maroon texts, and the button row "Выход" … "<<< Назад" "Далее >>>".
class WizardPage : public QFrame {
    Q_OBJECT
public:
    WizardPage(WizardWindow* host, int index, QWidget* parent);

    static constexpr int PageWidth = 461;
    static constexpr int PageHeight = 339;
    // The page's left margin and the height of its buttons.
    static constexpr int Margin = 8;
    static constexpr int ButtonHeight = 25;

    int pageIndex() const { return index_; }

    QPushButton* nextButton = nullptr;  // "Далее >>>" (the last page: "Готово")
    QPushButton* backButton = nullptr;  // "<<< Назад"
    QPushButton* exitButton = nullptr;  // "Выход"
    // On the pages that edit the configuration: its history, Ctrl+Z and Ctrl+Y
    // anywhere on the page but in a text field, which keeps its own.
    QAction* undoAction = nullptr;  // "Отменить"
    QAction* redoAction = nullptr;  // "Повторить"
    QMenu* undoMenu = nullptr;      // the context menu with the two

    // "Выход": closes the wizard, asking first unless the rule says not to.
    void exitClicked();

protected:
    // A maroon label at (x, y), sized to its text.
    QLabel* addText(const QString& text, int x, int y, bool bold = false);
    QLabel* addText(const QString& text, int x, int y, QFont font, bool bold = false);
    // One label a line, from y down; returns the y under the last line.
    int addTextLines(const QStringList& lines, int x, int y, QList<QLabel*>* labels = nullptr);
    // The page heading at the top left; returns the y under it.
    int addHeading(const QString& text);

    // The page grows with the wizard's window from its smallest size,
    // PageWidth × PageHeight: the button row stays at the bottom corners.
    void resizeEvent(QResizeEvent* event) override;
    // What else of the page follows its size; called after each resize.
    virtual void relayout() {}

    // The undo actions, with their context menu on `menuOn`.
    void addUndo(QWidget* menuOn);
    // Runs `edit` of the configuration as one step of its history.
    void recordEdit(const QString& text, const std::function<void()>& edit, int mergeKind = -1);

    // Opened for one page, "<<< Назад" and "Далее >>>" are hidden.
    void showNavigation();

    // The question of "Выход".
    virtual QString exitQuestion() const;
    // The start and last pages ask even when the wizard shows one page only.
    virtual bool exitAlwaysAsks() const { return false; }

    WizardWindow* host_;

private:
    void placeButtonRow();

    int index_;
};

// The maroon of every page text.
QColor PageTextColor();
// The font of the page texts: small enough that every explanation line fits
// the page's width.
QFont PageTextFont();
// The monospaced font of the device lines (the cliché grid, the line editor),
// so that a line looks as wide as the device prints it.
QFont CourierFont(int pixels);
