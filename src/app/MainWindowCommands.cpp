#include <QFileDialog>
#include <QUndoStack>

#include "admin/ui/InnDialog.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "config/ConfigurationDiff.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationSync.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadQuestions.h"
#include "config/ui/ConfigurationUndo.h"
#include "device/DeviceLock.h"
#include "forms/FormTableTransfer.h"
#include "forms/ui/FormConstructorPage.h"
#include "image/ui/ConfigurationDiffWindow.h"
#include "shell/DeviceOperation.h"
#include "shell/UnsentWork.h"
#include "shell/UserDialogs.h"
#include "shell/ui/FileDialogs.h"
#include "wizard/ui/WizardWindow.h"

// The main window's commands on the configuration: the wizard, the file, the
// transfers with the device and the comparison, the forms, the INN.

namespace {
const QString ConfigurationFilter = QStringLiteral("Конфигурация (*.cfg)");

}  // namespace

void MainWindow::openWizard(int startPage, bool singlePage) {
    // The wizard edits the configuration a running transfer is moving.
    if (refuseWhileExchanging()) return;
    ShowMainPage(nullptr);
    WizardWindow wizard(this, startPage, singlePage, this);
    wizard.exec();
}

void MainWindow::loadFromFile() {
    // A transfer that is running reads and writes the same configuration; a
    // file loaded under it would leave a mix of both in the model or the device.
    // No lock is held while the dialog is open: it takes every key, its
    // completion list (a window of its own) included. A transfer never runs
    // under the load, as every user action is refused while one runs.
    if (refuseWhileExchanging()) return;
    QFileDialog dialog(this);
    StartInFolder(dialog, FileKind::Configuration);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any typed name is taken: one that cannot be opened is reported by the
    // load itself, and the constructor page opens all the same.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(ConfigurationFilter);
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    const QString path = RunFileDialog(dialog, FileKind::Configuration);
    if (path.isEmpty()) return;
    if (!ConfirmOverUnsentConfiguration(StepLoadFile())) return;
    // The file holds what was loaded: nothing of it is lost by a later read.
    // A file is another configuration: the edits of the one it replaced are
    // no longer the user's to take back.
    if (LoadConfigurationFileInteractive(CurrentConfiguration(), path) ==
        ConfigurationFileResult::Ok) {
        ProgramConfigurationSync().keepAll(CurrentConfiguration());
        configurationUndo_->stack()->clear();
    }
    EnableSaveToFile();
    constructorPage_->Fill();
    ShowMainPage(constructorPage_);
}

void MainWindow::saveToFile() {
    QFileDialog dialog(this);
    StartInFolder(dialog, FileKind::Configuration);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Saving replaces the chosen file without a further question; a save that
    // fails part-way leaves the old file as it was.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(ConfigurationFilter);
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    const QString path = RunFileDialog(dialog, FileKind::Configuration);
    if (path.isEmpty()) return;
    if (SaveConfigurationFileInteractive(CurrentConfiguration(), path) ==
        ConfigurationFileResult::Ok)
        ProgramConfigurationSync().keepAll(CurrentConfiguration());
}

void MainWindow::downloadConfiguration() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    if (!ConfirmOverUnsentConfiguration(StepReadFromDevice())) return;
    ShowMainPage(nullptr);
    if (DownloadConfiguration(CurrentConfiguration())) EnableSaveToFile();
}

void MainWindow::uploadConfiguration() {
    if (refuseWhileExchanging()) return;
    const int items = int(WholeUploadItems(CurrentConfiguration()).size());
    if (!Dialogs().confirmDefaultNo(WholeUploadQuestion(items))) return;
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    UploadConfiguration(CurrentConfiguration());
}

void MainWindow::compareWithDevice() {
    if (!CompareConfigurationWithDevice(this)) return;
    EnableSaveToFile();
    if (currentPage_ == constructorPage_) constructorPage_->Fill();
}

void MainWindow::showForms() {
    DeviceLock lock;
    if (!BeginDeviceOperation(lock)) return;
    QVector<ConfigurationItem> forms;
    for (int form = 1; form <= FormCount; ++form)
        forms.append({ConfigurationItemKind::Form, form, 1});
    if (!ConfirmOverUnsentConfiguration(StepReadFromDevice(), forms)) return;
    const std::optional<int> group = ReadFormTable(CurrentConfiguration());
    EnableSaveToFile();
    constructorPage_->setCurrentGroup(group);
    constructorPage_->Fill();
    ShowMainPage(constructorPage_);
}

void MainWindow::programInn() {
    if (refuseWhileExchanging()) return;
    ShowMainPage(nullptr);
    InnDialog dialog(this);
    dialog.exec();
}

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}
