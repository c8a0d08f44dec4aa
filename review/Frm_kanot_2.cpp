#include "Frm_kanot_2.h"

#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "shell/KDR_error_form.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_windows.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <cstdlib>
#include <fstream>

using namespace Module_Vantorel;

namespace {

constexpr const char* Not_Built = "Reviewing capture files is not built yet.";

}  // namespace

Frm_kanot_2::Frm_kanot_2()
    : ui::Form("Frm_kanot_2"),
      Menu_bar(new QMenuBar(this)),
      menu_form(Menu_bar, "Form"),
      item_open(menu_form, "Open File"),
      item_exit(menu_form, "Exit"),
      menu_settings(Menu_bar, "Settings"),
      item_timing_calculation(menu_settings, "Timing calculation method", true),
      item_timing_framecount(item_timing_calculation, "Frame count"),
      item_timing_frametimestamp(item_timing_calculation, "Frame timestamp") {
    Set_Caption("Vantorel Video Replay ");
    item_open.On_Click([this] { item_open_Click(); });
    item_exit.On_Click([this] { item_exit_Click(); });
    item_timing_framecount.On_Click([this] { Set_Timing_Framecount(); });
    item_timing_frametimestamp.On_Click([this] { Set_Timing_Frametimestamp(); });

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(Menu_bar);
    Picture_large = new QLabel(QString(Not_Built) + "\nOpen File will show the heat's fields here.", this);
    Picture_large->setAlignment(Qt::AlignCenter);
    Picture_large->setFrameShape(QFrame::Box);
    Picture_large->setMinimumSize(400, 600);
    layout->addWidget(Picture_large, 1);

    Frame_Controls = new QGroupBox(this);
    auto* column = new QVBoxLayout(Frame_Controls);
    frm_File_data = new QGroupBox("File data", Frame_Controls);
    auto* file_data = new QVBoxLayout(frm_File_data);
    Shape_circle = new QLabel(QString::fromUtf8("\u25CF"), frm_File_data);
    Shape_circle->setStyleSheet("color: red");
    file_data->addWidget(Shape_circle);
    file_data->addWidget(new QLabel("Image size", frm_File_data));
    file_data->addWidget(new QLabel("File size", frm_File_data));
    Frm_time = new QGroupBox("Time", Frame_Controls);
    auto* time = new QVBoxLayout(Frm_time);
    for (const char* caption : {"Elapsed time", "Delta time", "Video field", "Start time", "Heat ID"})
        time->addWidget(new QLabel(caption, Frm_time));
    Frm_play = new QGroupBox("Video Scroll", Frame_Controls);
    (new QVBoxLayout(Frm_play))->addWidget(new QLabel("No file open", Frm_play));
    Frm_options = new QGroupBox("Options", Frame_Controls);
    (new QVBoxLayout(Frm_options))->addWidget(new QLabel("No file open", Frm_options));
    for (QGroupBox* frame : {frm_File_data, Frm_time, Frm_play, Frm_options}) column->addWidget(frame);
    column->addStretch(1);
    Frame_Controls->setFixedWidth(200);
    layout->addWidget(Frame_Controls);
}

Frm_kanot_2::~Frm_kanot_2() = default;

void Frm_kanot_2::Form_Load() {
    Module_dependant::Trace_String("Frm_kanot2 Form_Load start");
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Form_Load of Form frm_kanot_2", [this] {
        Shape_circle->setVisible(Is_Compiled);
        if (Program_Name.empty()) Vantorel_Initialization();
        Display_Width = 400;
        Display_Height = 800;
        Drag_Lane = -1;
        Replay_Start_Tick = sys::timeGetTime();
        if (Is_Exiting) {
            Module_dependant::Trace_String("*Frm_Kanot_2, Form_load start ending = true");
            return;
        }
        Vantorel_Initialization();
        KDR_error_form::Instance().KDR_Error_Initialize();
        if (Module_dependant::FileExists(Ini_file_path)) {
            Module_dependant::Trace_String("INI file found");
        } else {
            Module_dependant::Trace_String("INI file not found");
            if (ui::MsgBox("INI file not found! Create? (No exits program)", ui::vbYesNo) == ui::vbNo) std::_Exit(0);
            std::ofstream(Ini_file_path, std::ios::trunc);
        }
        int32_t left = 0, top = 0, width = Width(), height = Height();
        Module_dependant::Get_Form_Pos(Name(), left, top, width, height);
        Move(left, top);
        Transparent_Color = 128 | 128 << 8 | 128 << 16;
        Load_Event_name();
        item_timing_calculation.Set_Visible(!Is_Compiled);
        Non_dependant::Remove_Close_Menu(this);
        QStringList arguments = QCoreApplication::arguments().mid(1);
        arguments.removeAll("--development");
        Command_Line = arguments.join(' ').toStdString();
        Module_dependant::Trace_String("*Command_dollar = " + Command_Line);
        Last_Captured_File = Non_dependant::Read_Ini("Canoe", "last_captured_file", Ini_file_path, "");
    });
}

void Frm_kanot_2::Form_QueryUnload(int16_t&, int16_t) {
    vb::Trap(Is_Compiled, "Form_QueryUnload of Form frm_kanot_2", [this] {
        Module_dependant::Trace_String("*Frm_kanot_2 Form_QueryUnload, begin");
        Module_dependant::Store_Form_Pos(Name(), Left(), Top(), Width(), Height());
        Module_dependant::Trace_String("*Frm_kanot_2 Form_QueryUnload, end");
    });
}

void Frm_kanot_2::Set_Timing_Framecount() {
    item_timing_framecount.Set_Checked(true);
    item_timing_frametimestamp.Set_Checked(false);
    Non_dependant::Write_Ini("Settings", "timing", "framecount", Ini_file_path);
}

void Frm_kanot_2::Set_Timing_Frametimestamp() {
    item_timing_framecount.Set_Checked(false);
    item_timing_frametimestamp.Set_Checked(true);
    Non_dependant::Write_Ini("Settings", "timing", "frametimestamp", Ini_file_path);
}

void Frm_kanot_2::item_open_Click() { ui::MsgBox(Not_Built); }

void Frm_kanot_2::item_exit_Click() {
    vb::Trap(Is_Compiled, "item_exit_click of Form Frm_kanot_2", [] { Vantorel_exit(); });
}
