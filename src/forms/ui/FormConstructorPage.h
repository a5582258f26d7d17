#pragma once

#include <QFrame>
#include <array>
#include <functional>
#include <optional>

class GridPage;
class QAction;
class QMenu;
class GridTextModel;
class QComboBox;
class QLabel;
class QPushButton;
class QTextEdit;

// The BSO form constructor page of the main window: the eight forms of the
// device, each with its variant, additional requisite and discount, tax or code
// line, a preview of the printed document, and programming and reading one
// form. Every choice goes straight into the form's FormSlot.
class PageHost;

class FormConstructorPage : public QFrame {
    Q_OBJECT
public:
    explicit FormConstructorPage(QWidget* parent = nullptr, PageHost* pageHost = nullptr);
    void setPageHost(PageHost* pageHost);

    // Refills the requisite grid and the form buttons from the configuration
    // and puts the page back to "no form shown"; pressed buttons stay pressed.
    void Fill();
    // The current BSO group from the last state query; none when the query failed.
    void setCurrentGroup(std::optional<int> group);

    // The handlers, public so that tests drive them as the buttons do. Each
    // runs after the clicked button has changed its pressed state.
    void formButtonClicked();
    void variantButtonClicked();
    void kindButtonClicked();
    void requisiteSelected(int index);
    void writeClicked();    // "Загрузить в АС"
    void readClicked();     // "Выгрузить из АС"
    void printClicked();    // "Печать..."
    void savePdfClicked();  // "Сохранить в PDF..."
    void helpClicked();     // help
    void exitClicked();     // "Выход"

    // The pressed form (1..8) and variant (1..6) buttons, 0 when none is pressed.
    int selectedForm() const;
    int pressedVariant() const;

    // The text shown beside "Текущая группа" when the state query gave no group.
    static QString UnknownGroupText();

    std::array<QPushButton*, 8> FormButtons{};
    std::array<QPushButton*, 6> VariantButtons{};
    std::array<QPushButton*, 3> TypeButtons{};  // С, Н, К
    QLabel* CurrentFormLabel = nullptr;
    // Beside "Текущая группа", "Количество ДСО:", "Кол-во услуг:",
    // "Разрядность сумм:", "Дополнительный реквизит:", "Скидка: ", "Налог:", "Код:".
    std::array<QLabel*, 8> ValueLabels{};
    QWidget* RequisiteControls = nullptr;
    QWidget* DiscountControls = nullptr;
    GridPage* grid = nullptr;
    GridTextModel* GridModel = nullptr;
    QComboBox* requisiteCombo = nullptr;
    QTextEdit* preview = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* writeButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* exitButton = nullptr;
    // The configuration's history, with the host: Ctrl+Z and Ctrl+Y while the
    // page is shown, and a context menu with the two.
    QAction* undoAction = nullptr;  // "Отменить"
    QAction* redoAction = nullptr;  // "Повторить"
    QMenu* undoMenu = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PageHost* pageHost_ = nullptr;
    QMetaObject::Connection restoredConnection_;
    void buildControls();
    void buildRequisiteControls();
    void buildDiscountControls();
    void buildButtons();
    // The undo actions on the host's history; none without a host.
    void bindUndo();
    // Runs a choice of the shown form as one step of the history.
    void recordChoice(const std::function<void()>& edit);
    // After an undo or redo: the configuration shown again, the form that was
    // shown still shown.
    void showRestored();

    void clearValues();
    void showVariantValues(int variant, int form);
    void offerControls(int variant);
    void pressVariant(int variant);
    void setKindButtons(int kind);
    void setRequisiteItem(int requisite);
    void setVariantButtonsEnabled(bool enabled);
    void renderPreview(int form);
    // The lines of the shown preview; empty, with the user told, when none is shown.
    QStringList printableLines();
    // Writes `lines` as a one-page PDF to `path`; when that fails the user is
    // told and a file that was there stays intact.
    void writePdf(const QString& path, const QStringList& lines);
};
