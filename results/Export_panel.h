#pragma once
// The results window's export area: the format choice, the export folder with its drive kind, the
// Export button, and the message shown after an export. The writing itself is Results_export's.
#include "platform/ui/Control_array.h"

#include <string>

class Frm_results;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QWidget;
namespace ui {
class Command_button;
class Picture_box;
}

class Export_panel {
public:
    // Creates the controls in the window; the message frame stays hidden.
    // The panel lies in the window's body, below its menu bar.
    Export_panel(Frm_results& window, QWidget& body);

    // The window's load: format, folder, then the message frame's place for a window `width` twips wide.
    void Load(int32_t width);
    void Load_Export_format();
    void Load_Export_Folder();
    void Opt_exp_format_Click(int16_t Index);
    void Pict_export_folder_Click();
    void Update_capture_folder_Remote();
    bool Check_Export_Folder();
    void Cmd_export_Click();
    void Show_Export_Mess();
    void Cmd_result_export_OK_Click();

    QGroupBox* Frm_export;
    QGroupBox* Frm_export_format;
    ui::Control_array<QRadioButton> Opt_exp_format;
    QGroupBox* Frm_export_folder;
    QLabel* Label;
    ui::Picture_box* Pict_export_folder;
    QLabel* Label1;
    ui::Picture_box* Pict_remote;
    ui::Command_button* Cmd_export;
    QGroupBox* Frm_export_mess;
    QPlainTextEdit* Text_export_mess;
    ui::Command_button* Cmd_result_export_OK;

    // A file name for the next ";"-separated export only.
    std::string Alternative_Export_Name;

private:
    Frm_results& window_;
};
