#include "Export_panel.h"

#include "Frm_results.h"
#include "Module_Vantorel_export.h"
#include "Results_export.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"
#include "shell/mTrace.h"
#include "store/cls_VideoFile_handler.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Place.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>

using namespace Module_Vantorel;

namespace {

// The user's documents folder, made when it is missing: where results go until the operator chooses.
std::string Default_Export_Folder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder.toStdString();
}

}  // namespace

Export_panel::Export_panel(Frm_results& window, QWidget& body) : window_(window) {
    Frm_export = ui::Place(new QGroupBox("Results export", &body), 2400, 7080, 1935, 5295);
    Frm_export_format = ui::Place(new QGroupBox("Export format", Frm_export), 120, 240, 1695, 1095);
    Opt_exp_format.Load(1, ui::Place(new QRadioButton("CSV", Frm_export_format), 120, 240, 1335, 315));
    Opt_exp_format.Load(2, ui::Place(new QRadioButton("XML", Frm_export_format), 120, 600, 1335, 315));
    Opt_exp_format(1).setChecked(true);
    for (int16_t index : {1, 2})
        QObject::connect(&Opt_exp_format(index), &QRadioButton::clicked, [this, index] { Opt_exp_format_Click(index); });
    Frm_export_folder = ui::Place(new QGroupBox("Export target", Frm_export), 120, 1440, 1695, 2415);
    Label = ui::Place(new QLabel("Folder", Frm_export_folder), 60, 240, 1560, 255);
    Pict_export_folder = ui::Place(new ui::Picture_box(Frm_export_folder), 60, 480, 1560, 855);
    Pict_export_folder->Click = [this] { Pict_export_folder_Click(); };
    Label1 = ui::Place(new QLabel("Share name", Frm_export_folder), 60, 1440, 1560, 255);
    Pict_remote = ui::Place(new ui::Picture_box(Frm_export_folder), 60, 1680, 1560, 495);
    Cmd_export = ui::Place(new ui::Command_button("Export", Frm_export), 240, 3960, 1455, 375);
    Cmd_export->On_Click([this] { Cmd_export_Click(); });

    Frm_export_mess = new QGroupBox(&body);
    // It lies over the rows: they must not show through.
    Frm_export_mess->setAutoFillBackground(true);
    Text_export_mess = new QPlainTextEdit(Frm_export_mess);
    Text_export_mess->setReadOnly(true);
    Cmd_result_export_OK = new ui::Command_button("OK", Frm_export_mess);
    Cmd_result_export_OK->On_Click([this] { Cmd_result_export_OK_Click(); });
    Frm_export_mess->hide();
}

void Export_panel::Load(int32_t width) {
    Load_Export_format();
    Load_Export_Folder();
    const int32_t frame_width = width - 200;
    ui::Place(Frm_export_mess, 50, 3480, frame_width, 3015);
    ui::Place(Cmd_result_export_OK, frame_width / 2 - 1215 / 2, 2400, 1215, 375);
    // Two lines of text.
    ui::Place(Text_export_mess, 100, 600, frame_width - 200, 1500);
}

void Export_panel::Load_Export_format() {
    vb::Trap(Is_Compiled, "Load_Export_format of Form Frm_results", [this] {
        const int16_t index = Non_dependant::Read_Ini_Integer("Canoe", "expformat", Ini_file_path, 1);
        if (!Opt_exp_format.Exists(index)) vb::Raise(vb::Err_Subscript);
        Opt_exp_format(index).setChecked(true);
    });
}

void Export_panel::Load_Export_Folder() {
    vb::Trap(Is_Compiled, "Load_Export_Folder of Form Frm_results", [this] {
        Export_Folder = Non_dependant::Read_Ini("Canoe", "export_folder", Ini_file_path, Default_Export_Folder());
        mTrace::Trace("*Temp_folder = " + Export_Folder);
        Non_dependant::Print_Wrapped(*Pict_export_folder, Export_Folder);
        Pict_export_folder->setToolTip(QString::fromStdString(Export_Folder));
        Update_capture_folder_Remote();
    });
}

void Export_panel::Opt_exp_format_Click(int16_t Index) {
    vb::Trap(Is_Compiled, "Opt_exp_format_Click of Form Frm_results", [Index] {
        Non_dependant::Write_Ini("Canoe", "expformat", std::to_string(Index), Ini_file_path);
        if (Results_export::Review_Set_Focus) Results_export::Review_Set_Focus();
    });
}

void Export_panel::Pict_export_folder_Click() {
    vb::Trap(Is_Compiled, "Txt_export_folder_Click of Form Frm_results", [this] {
        std::optional<std::string> chosen = ui::Dialogs().Browse_Folder("Export folder", Export_Folder);
        if (chosen && !chosen->empty()) {
            Export_Folder = *chosen;
            Non_dependant::Write_Ini("Canoe", "export_folder", Export_Folder, Ini_file_path);
            Load_Export_Folder();
        }
        Update_capture_folder_Remote();
    });
}

void Export_panel::Update_capture_folder_Remote() {
    // Silent on any failure: the display keeps what it showed.
    try {
        switch (fs::Drive_Type(Export_Folder)) {
        case fs::Drive_Removable: Non_dependant::Print_Wrapped(*Pict_remote, "Removable"); break;
        case fs::Drive_Fixed: Non_dependant::Print_Wrapped(*Pict_remote, "Local"); break;
        case fs::Drive_Remote: Non_dependant::Print_Wrapped(*Pict_remote, fs::Share_Name(Export_Folder)); break;
        default: break;
        }
    } catch (...) {
    }
}

bool Export_panel::Check_Export_Folder() {
    bool found = false;
    vb::Trap(Is_Compiled, "Check_Export_Folder of Form Frm_results", [&] {
        found = fs::Folder_Exists(Export_Folder);
        if (!found) ui::MsgBox("Result export folder not found!");
    });
    return found;
}

void Export_panel::Cmd_export_Click() {
    vb::Trap(true, "Cmd_export_Click of Form Frm_results", [this] {
        const std::string heat_label = window_.Lbl_heat->text().toStdString();
        if (Non_dependant::Alt_Down())
            Alternative_Export_Name = ui::InputBox("Give alternative export file name", "Enter filename", "Heat" + heat_label);
        if (!Check_Export_Folder()) return;
        const Results_export::Open_Heat heat =
            Results_export::Open_Heat_Provider ? Results_export::Open_Heat_Provider() : Results_export::Open_Heat{};
        std::vector<Results_export::Result_Row> shown;
        for (auto& [row, rank] : window_.Lbl_result_rank)
            shown.push_back({rank->text().toStdString(), window_.Lbl_result_lane(row).text().toStdString(),
                             window_.Lbl_result_time(row).text().toStdString(),
                             window_.Lbl_result_delta_time(row).text().toStdString()});
        const int32_t correction = heat.File ? heat.File->Heat_Start_Correction(1) : 0;
        const std::vector<Results_export::Result_Row> rows = Results_export::Export_Rows(shown, correction);
        if (Opt_exp_format(1).isChecked() &&
            Results_export::Export_CSV_file(heat, heat_label, rows, Alternative_Export_Name))
            Show_Export_Mess();
        if (Opt_exp_format(2).isChecked() && Results_export::Export_New_XML_File(heat, heat_label, rows))
            Show_Export_Mess();
    });
}

void Export_panel::Show_Export_Mess() {
    Text_export_mess->setPlainText(QString::fromStdString("Exported results to file:\r\n" + Last_Export_File));
    Frm_export_mess->show();
    Frm_export_mess->raise();
    Cmd_result_export_OK->setFocus();
}

void Export_panel::Cmd_result_export_OK_Click() { Frm_export_mess->hide(); }
