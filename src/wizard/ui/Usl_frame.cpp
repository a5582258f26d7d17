#include "wizard/ui/Usl_frame.h"

#include "config/ParameterCatalogue.h"

TUslFrame::TUslFrame(TForm5* host, QWidget* parent)
    : TThreeLineFrame(host, 3, parent, GroupService, QStringLiteral("Услуги")) {}

QString TUslFrame::exitQuestion() const {
    return QStringLiteral("Вы действительно хотите выйти из конструктора?");
}
