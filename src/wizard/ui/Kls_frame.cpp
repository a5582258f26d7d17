#include "wizard/ui/Kls_frame.h"

#include "config/ParameterCatalogue.h"

TKlsFrame::TKlsFrame(TForm5* host, QWidget* parent)
    : TThreeLineFrame(host, 4, parent, GroupRequisite, QStringLiteral("Дополнительные реквизиты")) {
}
