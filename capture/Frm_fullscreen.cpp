#include "Frm_fullscreen.h"

#include <QLabel>
#include <QVBoxLayout>

Frm_fullscreen::Frm_fullscreen() : ui::Form("Frm_fullscreen") {
    Set_Caption("Vantorel live preview");
    auto* layout = new QVBoxLayout(this);
    Label_not_built = new QLabel("The live preview is not built yet: no camera picture and no course set-up.", this);
    Label_not_built->setWordWrap(true);
    layout->addWidget(Label_not_built);
    resize(420, 140);
}
