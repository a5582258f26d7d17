#pragma once

#include <QTimer>
#include <QWidget>

class ExchangeLog;
class ExchangeLogModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

// "Журнал обмена": every exchange with the device, a row each, failed rows
// marked. Not modal, so it can stay open beside a transfer; while it is shown
// it takes the new exchanges in batches, a few times a second, and follows the
// newest row unless the user has scrolled away from it. It opens at its
// left edge, its text columns as wide as what they show.
class ExchangeLogWindow : public QWidget {
    Q_OBJECT
public:
    // Between two looks at the log: at most ten repaints a second.
    static constexpr int RefreshIntervalMs = 100;

    explicit ExchangeLogWindow(ExchangeLog& log, QWidget* parent = nullptr);

    // Shows the window, or brings it to the front when it is open.
    void showAndRaise();

    // Takes what came into the log since the last look.
    void refresh();
    // The selected rows as text blocks, oldest first, put on the clipboard.
    void copySelectedRows();
    // Asks for a file name, then saves.
    void saveClicked();
    void saveTo(const QString& path);
    // After the user's confirmation.
    void clearClicked();

    ExchangeLogModel* model() const { return model_; }
    QCheckBox* onlyFailures = nullptr;  // "Только ошибки"
    QLabel* counts = nullptr;
    QTableView* table = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* clearButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showCounts();
    // Sizes the text columns to the rows on screen.
    void fitColumns();

    ExchangeLog& log_;
    ExchangeLogModel* model_ = nullptr;
    QTimer timer_;
};

// The program's one log window, made by whoever owns the program's windows;
// the menus and the connection settings dialog open it.
extern ExchangeLogWindow* SharedExchangeLogWindow;
void ShowExchangeLogWindow();
