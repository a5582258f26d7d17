#include "wizard/ui/WizardWindow.h"

#include <QApplication>
#include <QFrame>

#include "config/ConfigurationTransfer.h"
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
        if (wizard_.DataOperFrame) wizard_.DataOperFrame->Fill();
    }
    void refreshDocumentName() override {
        if (wizard_.DcoFrame) wizard_.DcoFrame->Fill();
    }
    void refreshServices() override {
        if (wizard_.UslFrame) wizard_.UslFrame->Fill();
    }
    void refreshRequisites() override {
        if (wizard_.KlsFrame) wizard_.KlsFrame->Fill();
    }
    void refreshCliche(int clicheIndex) override {
        if (wizard_.KlsFrame2 && (clicheIndex == 0 || clicheIndex == 1))
            wizard_.KlsFrame2->Fill(clicheIndex);
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
    setFixedSize(ClientWidth, ClientHeight);
    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, ClientWidth, ClientHeight);
}

WizardWindow::~WizardWindow() = default;

void WizardWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!pagesCreated_) {
        pagesCreated_ = true;
        FormShow();
    }
}

void WizardWindow::FormShow() {
    StartFrame = new WizardStartPage(this, Panel1);
    DataOperFrame = new OperatorsPage(this, Panel1);
    DcoFrame = new DocumentNamePage(this, Panel1);
    UslFrame = new ServicesPage(this, Panel1);
    KlsFrame = new RequisitesPage(this, Panel1);
    KlsFrame2 = new ClichePage(this, Panel1);
    LastFrame = new WizardLastPage(this, Panel1);
    for (int index = 0; index < PageCount; ++index) {
        WizardPage* p = page(index);
        p->move(2, 2);
        p->hide();
    }
    DataOperFrame->Fill();
    DcoFrame->Fill();
    UslFrame->Fill();
    KlsFrame->Fill();
    // Both clichés pass through the page, so it opens on the second.
    KlsFrame2->Fill(0);
    KlsFrame2->Fill(1);
    LastFrame->Fill();
    ShowPage(page(startPage_));
}

WizardPage* WizardWindow::page(int index) const {
    switch (index) {
        case 0:
            return StartFrame;
        case 1:
            return DataOperFrame;
        case 2:
            return DcoFrame;
        case 3:
            return UslFrame;
        case 4:
            return KlsFrame;
        case 5:
            return KlsFrame2;
        case 6:
            return LastFrame;
        default:
            return nullptr;
    }
}

void WizardWindow::ShowPage(QWidget* page) {
    if (current_) current_->hide();
    current_ = page;
    QApplication::processEvents();
    if (current_) current_->show();
}

void WizardWindow::closeWizard() {
    QDialog::done(QDialog::Accepted);
}

void WizardWindow::reject() {
    if (auto* shown = qobject_cast<WizardPage*>(current_))
        shown->Button3Click();
    else
        closeWizard();
}
