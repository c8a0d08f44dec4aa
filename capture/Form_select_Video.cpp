#include "Form_select_Video.h"

#include <QLabel>
#include <QVBoxLayout>

Form_select_Video::Form_select_Video() : ui::Form("Form_select_Video") {
    Set_Caption("Select HDMI Video Source");
    auto* layout = new QVBoxLayout(this);
    Label_not_built = new QLabel(
        "Selecting the video source is not built yet: no capture source or format can be chosen here.", this);
    Label_not_built->setWordWrap(true);
    layout->addWidget(Label_not_built);
    resize(420, 140);
}
