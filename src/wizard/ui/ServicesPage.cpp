#include "wizard/ui/ServicesPage.h"

#include "config/ParameterCatalogue.h"

ServicesPage::ServicesPage(WizardWindow* host, QWidget* parent)
    : ThreeLinePage(host, 3, parent, GroupService, QStringLiteral("Услуги")) {}

QString ServicesPage::exitQuestion() const {
    return QStringLiteral("Вы действительно хотите выйти из конструктора?");
}
