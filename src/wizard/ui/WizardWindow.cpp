#include "wizard/ui/WizardWindow.h"

#include <QApplication>
#include <QFrame>
#include <QMainWindow>
#include <QScreen>

#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/ui/ConfigurationUndo.h"
#include "shell/ui/PageHost.h"
#include "wizard/ui/ClichePage.h"
#include "wizard/ui/DocumentNamePage.h"
#include "wizard/ui/OperatorsPage.h"
#include "wizard/ui/RequisitesPage.h"
#include "wizard/ui/ServicesPage.h"
#include "wizard/ui/WizardLastPage.h"
#include "wizard/ui/WizardPage.h"
#include "wizard/ui/WizardStartPage.h"

namespace {

constexpr int ClientWidth = 466;
constexpr int ClientHeight = 344;

class WizardRefresh : public ConfigurationPages {
public:
    explicit WizardRefresh(WizardWindow& wizard) : wizard_(wizard) {}
    void refreshOperators() override {
        if (wizard_.operatorsPage) wizard_.operatorsPage->Fill();
    }
    void refreshDocumentName() override {
        if (wizard_.documentNamePage) wizard_.documentNamePage->Fill();
    }
    void refreshServices() override {
        if (wizard_.servicesPage) wizard_.servicesPage->Fill();
    }
    void refreshRequisites() override {
        if (wizard_.requisitesPage) wizard_.requisitesPage->Fill();
    }
    void refreshCliche(int clicheIndex) override {
        if (wizard_.clichePage && (clicheIndex == 0 || clicheIndex == 1))
            wizard_.clichePage->Fill(clicheIndex);
    }

private:
    WizardWindow& wizard_;
};

}  // namespace

WizardWindow::WizardWindow(QWidget* parent, int startPage, bool singlePage, PageHost* pageHost)
    : QDialog(parent),
      pageHost_(pageHost),
      startPage_(startPage),
      singlePage_(singlePage),
      refresh_(std::make_unique<WizardRefresh>(*this)) {
    setWindowTitle(QStringLiteral("Конструктор..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // The smallest size is the one every page was laid out for; the window
    // opens as large as the main window's page area, so that the lists show
    // their lines whole, and may be made larger or smaller again.
    setMinimumSize(ClientWidth, ClientHeight);
    QSize size(ClientWidth, ClientHeight);
    if (parent) {
        QWidget* owner = parent->window();
        const QWidget* area = owner;
        if (auto* main = qobject_cast<QMainWindow*>(owner); main && main->centralWidget())
            area = main->centralWidget();
        QSize room = area->size().boundedTo(owner->size());
        if (const QScreen* screen = owner->screen())
            room = room.boundedTo(screen->availableGeometry().size());
        size = size.expandedTo(room);
    }
    resize(size);
    undo_ = pageHost_ ? pageHost_->configurationUndo() : nullptr;
    if (!undo_) undo_ = new ConfigurationUndo(CurrentConfiguration(), this);
    connect(undo_, &ConfigurationUndo::restored, this, [this] { refillPages(); });
    pageArea = new QFrame(this);
    pageArea->setGeometry(rect());
}

void WizardWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!pageArea) return;
    pageArea->setGeometry(rect());
    for (int index = 0; index < PageCount; ++index)
        if (WizardPage* p = page(index)) p->resize(pageSize());
}

QSize WizardWindow::pageSize() const {
    // The pages keep the frame they had at the smallest size on each side.
    return size() -
           QSize(ClientWidth - WizardPage::PageWidth, ClientHeight - WizardPage::PageHeight);
}

WizardWindow::~WizardWindow() = default;

void WizardWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!pagesCreated_) {
        pagesCreated_ = true;
        createPages();
    }
}

void WizardWindow::createPages() {
    welcomePage = new WizardStartPage(this, pageArea);
    operatorsPage = new OperatorsPage(this, pageArea);
    documentNamePage = new DocumentNamePage(this, pageArea);
    servicesPage = new ServicesPage(this, pageArea);
    requisitesPage = new RequisitesPage(this, pageArea);
    clichePage = new ClichePage(this, pageArea);
    lastPage = new WizardLastPage(this, pageArea);
    for (int index = 0; index < PageCount; ++index) {
        WizardPage* p = page(index);
        p->move(2, 2);
        p->resize(pageSize());
        p->hide();
    }
    operatorsPage->Fill();
    documentNamePage->Fill();
    servicesPage->Fill();
    requisitesPage->Fill();
    // Both clichés pass through the page, so it opens on the second.
    clichePage->Fill(0);
    clichePage->Fill(1);
    lastPage->Fill();
    ShowPage(page(startPage_));
}

void WizardWindow::refillPages() {
    if (!pagesCreated_ || !operatorsPage) return;
    operatorsPage->Fill();
    documentNamePage->Fill();
    servicesPage->Fill();
    requisitesPage->Fill();
    clichePage->refill();
}

WizardPage* WizardWindow::page(int index) const {
    switch (index) {
        case 0:
            return welcomePage;
        case 1:
            return operatorsPage;
        case 2:
            return documentNamePage;
        case 3:
            return servicesPage;
        case 4:
            return requisitesPage;
        case 5:
            return clichePage;
        case 6:
            return lastPage;
        default:
            return nullptr;
    }
}

void WizardWindow::ShowPage(QWidget* page) {
    if (current_) current_->hide();
    current_ = page;
    // The last page says what the device holds as it is when it is reached.
    if (current_ && current_ == lastPage) lastPage->Fill();
    QApplication::processEvents();
    if (current_) current_->show();
}

void WizardWindow::closeWizard() {
    QDialog::done(QDialog::Accepted);
}

void WizardWindow::reject() {
    if (auto* shown = qobject_cast<WizardPage*>(current_))
        shown->exitClicked();
    else
        closeWizard();
}
