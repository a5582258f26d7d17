#include "wizard/ui/RequisitesPage.h"

#include "config/ParameterCatalogue.h"

RequisitesPage::RequisitesPage(WizardWindow* host, QWidget* parent)
    : ThreeLinePage(host, 4, parent, GroupRequisite, QStringLiteral("Дополнительные реквизиты")) {}
