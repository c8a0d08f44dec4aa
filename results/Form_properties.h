#pragma once
// The properties report of the open capture file, with a printout. The review window's "File
// properties" fills and shows it; the report itself comes from the capture file store.
#include "platform/ui/Form.h"

class QLabel;
class QPlainTextEdit;
namespace ui {
class Command_button;
}

class Form_properties : public ui::Form {
public:
    static Form_properties& Instance() { return ui::Instance_Of<Form_properties>(); }
    Form_properties();

    void Command_OK_Click();
    // Prints the time, the file name and the report, with the progress window showing how far it got.
    void Command_Print_Click();

    QLabel* Label_filename;
    QPlainTextEdit* Text_properties;
    ui::Command_button* Command_OK;
    ui::Command_button* Command_Print;
};
