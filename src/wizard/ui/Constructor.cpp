#include "wizard/ui/Constructor.h"

#include <QApplication>
#include <QFrame>

#include "config/ConfigurationTransfer.h"
#include "shell/ui/Main.h"
#include "wizard/ui/Data_oper.h"
#include "wizard/ui/Dco_frame.h"
#include "wizard/ui/Kls_frame.h"
#include "wizard/ui/Kls_frame2.h"
#include "wizard/ui/Last_frame.h"
#include "wizard/ui/Start.h"
#include "wizard/ui/Usl_frame.h"
#include "wizard/ui/WizardPage.h"

namespace {

constexpr int ClientWidth = 466;
constexpr int ClientHeight = 344;

class WizardRefresh : public ConfigurationPages {
public:
    explicit WizardRefresh(TForm5& wizard) : wizard_(wizard) {}
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
    TForm5& wizard_;
};

}  // namespace

TForm5::TForm5(QWidget* parent)
    : TForm5(parent, Form1 ? Form1->WizardStartPage : 0, Form1 && Form1->WizardSinglePage) {}

TForm5::TForm5(QWidget* parent, int startPage, bool singlePage)
    : QDialog(parent),
      startPage_(startPage),
      singlePage_(singlePage),
      refresh_(std::make_unique<WizardRefresh>(*this)) {
    setWindowTitle(QStringLiteral("Конструктор..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, ClientWidth, ClientHeight);
}

TForm5::~TForm5() = default;

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!pagesCreated_) {
        pagesCreated_ = true;
        FormShow();
    }
}

void TForm5::FormShow() {
    StartFrame = new TStartFrame(this, Panel1);
    DataOperFrame = new TDataOperFrame(this, Panel1);
    DcoFrame = new TDcoFrame(this, Panel1);
    UslFrame = new TUslFrame(this, Panel1);
    KlsFrame = new TKlsFrame(this, Panel1);
    KlsFrame2 = new TKlsFrame2(this, Panel1);
    LastFrame = new TLastFrame(this, Panel1);
    for (int index = 0; index < PageCount; ++index) {
        TWizardPage* p = page(index);
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

TWizardPage* TForm5::page(int index) const {
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

void TForm5::ShowPage(QWidget* page) {
    if (current_) current_->hide();
    current_ = page;
    QApplication::processEvents();
    if (current_) current_->show();
}

void TForm5::closeWizard() {
    QDialog::done(QDialog::Accepted);
}

void TForm5::reject() {
    if (auto* shown = qobject_cast<TWizardPage*>(current_))
        shown->Button3Click();
    else
        closeWizard();
}
