#pragma once
// The source dialog. Listing the capture sources and their formats comes with live capture; until then
// the dialog says so and stores nothing.
#include "platform/ui/Form.h"

class QLabel;

class Form_select_Video : public ui::Form {
public:
    static Form_select_Video& Instance() { return ui::Instance_Of<Form_select_Video>(); }
    Form_select_Video();

    QLabel* Label_not_built;
};
