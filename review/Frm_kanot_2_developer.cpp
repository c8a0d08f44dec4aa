// The review window's developer commands: reports, traces, test runs, the file-copy test and the intro.
#include "Frm_kanot_2.h"

#include "diagnostics/Class_disk_mem_perf.h"
#include "diagnostics/Module_OS_Version.h"
#include "platform/fs/File_system.h"
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/printer/Printer.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Handler_guard.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/VbError.h"
#include "resources/Resources.h"
#include "shell/Module_AppUserData.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>

#include <filesystem>

using namespace Module_Vantorel;

namespace {

std::string Number(double value) { return vb::CStr(value); }

}  // namespace

void Frm_kanot_2::item_display_sample_data_Click() { Slider_play_Scroll(); }

void Frm_kanot_2::item_computer_model_Click() {
    const std::string model = Module_OS_Version::GetComputerModel();
    const std::string os = Module_OS_Version::OS_version_WMI();
    const std::string maker = Module_OS_Version::GetManufacturer();
    ui::MsgBox("Computer model : " + model + "\r\nOS_version_WMI : " + os + "\r\nGetManufacturer : " + maker);
}

void Frm_kanot_2::item_display_jpeg_bench_Click() {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    ui::MsgBox(Replay_File.File_comment1());
}

void Frm_kanot_2::item_dump_xml_header_Click() {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    Replay_File.Dump_XML_Header("");
}

void Frm_kanot_2::item_sizes_Click() {
    const double twips_y = ui::Twips_Per_Pixel_Y();
    const double window_height = Height() / twips_y;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    ui::MsgBox("Picture_large.ScaleWidth/Picture_large.ScaleHeight= " + Number(Picture_large->ScaleWidth()) + "/" +
               Number(Picture_large->ScaleHeight()) + "\r\nPicture_large.Width/Picture_large.Height= " +
               Number(Picture_large->width()) + "/" + Number(Picture_large->height()) +
               "\r\nFrm_kanot_2.ScaleHeight= " + Number(Scale_Height()) + "\r\nFrm_kanot_2.Scalewidth= " +
               Number(Scale_Width()) + "\r\nFrm_kanot_2.height= " + Number(window_height) +
               "\r\nFrm_kanot_2.Height / Screen.TwipsPerPixelY = " + Number(window_height) +
               "\r\nScreen.Height / Screen.TwipsPerPixelY = " + Number(screen ? screen->geometry().height() : 0));
}

void Frm_kanot_2::item_display_positions_Click() {
    Set_Caption("me.top: " + std::to_string(Top()) + " me.left: " + std::to_string(Left()));
}

void Frm_kanot_2::item_hide_large_picture_Click() { Picture_large->setVisible(!Picture_large->isVisibleTo(this)); }

void Frm_kanot_2::item_rename_ini_Click() {
    // Only the file's own name: an "ini" in a folder's name would move the file into a folder that is not there.
    const size_t name_at = Ini_file_path.find_last_of('/') + 1;
    std::string renamed = Ini_file_path;
    for (size_t at = renamed.find("ini", name_at); at != std::string::npos; at = renamed.find("ini", at + 3))
        renamed.replace(at, 3, "inx");
    std::error_code error;
    std::filesystem::rename(Ini_file_path, renamed, error);
    if (error) vb::Raise(vb::Err_File_Not_Found, "The settings file " + Ini_file_path + " cannot be renamed: " + error.message());
}

void Frm_kanot_2::item_printer_test_Click() {
    printer::Printer page(Module_AppUserData::Get_AppData_Folder(),
                          "Print_test a very long document name shall be tested here ");
    page.Print("Testing A,B,C");
    page.Print("Testing 1,2,3");
    const int error = page.End_Doc();
    QCoreApplication::processEvents();
    if (error) ui::MsgBox(printer::Print_Failure_Text(page.Output_File(), error), ui::vbExclamation);
    else if (!page.Output_File().empty()) ui::MsgBox("The test page was written to " + page.Output_File());
}

void Frm_kanot_2::item_disk_perf_Click() { ui::MsgBox(Class_disk_mem_perf().DiskPerf()); }

void Frm_kanot_2::item_browse_for_folder_Click() {
    vb::Trap(Is_Compiled, "item_browse_for_folder_Click of Form frm_kanot_2",
             [] { ui::Dialogs().Browse_Folder("Example", Module_AppUserData::Get_AppData_Folder()); });
}

void Frm_kanot_2::item_misbehave_Click() {
    vb::Trap(true, "item_misbehave_Click of Form frm_kanot_2",
             [] { vb::Raise(vb::Err_Division_By_Zero, "Misbehave (trapped): a raised error inside the trap"); });
}

void Frm_kanot_2::item_misbehave_uncaptured_Click() {
    vb::Raise(vb::Err_Division_By_Zero, "Misbehave (untrapped): a raised error that reaches the event handling");
}

void Frm_kanot_2::item_induce_crash_Click() {
    QTimer::singleShot(0, this, [] {
        ui::Run_Handler([] { vb::Raise(vb::Err_Internal, "Induce_crash: a raised error in a timer handler"); },
                        "Timer of Form frm_kanot_2");
    });
}

void Frm_kanot_2::File_Copy() {
    vb::Trap(Is_Compiled, "File_Copy of Form frm_kanot_2", [] {
        const std::string folder = Capture_Folders[1];
        if (folder.empty() || !Module_dependant::FolderExists(folder)) {
            ui::MsgBox("Can't find destination folder for file copy!");
            return;
        }
        const std::string destination = folder + "/" + Non_dependant::ParsePath(Last_Captured_File, 0);
        if (fs::Copy_File(Last_Captured_File, destination, &UpdateFileCopyStatus) != 0) ui::MsgBox("Copy Failed");
        Non_dependant::Do_Sleep(2000, false);
    });
}

void Frm_kanot_2::Run_Intro() {
    vb::Trap(Is_Compiled, "Run_Intro of Form Frm_kanot_2", [this] {
        QImage intro;
        const std::vector<uint8_t> data = resources::Load_Res_Data("bitmap", "INTRO");
        intro.loadFromData(data.data(), static_cast<int>(data.size()));
        Picture_intro_2->resize(intro.size());
        Picture_intro_2->Picture(intro);
        Picture_intro_2->CurrentX(0.05 * Picture_intro_2->ScaleWidth());
        Picture_intro_2->CurrentY(0.05 * Picture_intro_2->ScaleHeight());
        Picture_intro_2->FontName("Arial");
        Picture_intro_2->FontSize(128);
        gdi::SetTextColor(Picture_intro_2->hDC(), 0xFF0000);
        Picture_intro_2->Print("Vantorel");
        Run_Intro_Loop();
        Picture_intro->FontName("Arial");
        Picture_intro->FontSize(36);
        gdi::SetTextColor(Picture_intro->hDC(), 0xFF0000);
        const std::string subtitle = "Regatta Timing & Photofinish";
        for (size_t n = 0; n < subtitle.size(); ++n) {
            Picture_intro->CurrentX(0.05 * Picture_intro_2->ScaleWidth() + Picture_intro->TextWidth(subtitle.substr(0, n)));
            Picture_intro->CurrentY(0.6 * Picture_intro_2->ScaleHeight());
            Picture_intro->Print(subtitle.substr(n, 1));
            Picture_intro->Refresh();
            Non_dependant::Do_Sleep(60, false);
        }
        Non_dependant::Do_Sleep(1000, false);
        Picture_intro->hide();
    });
}

void Frm_kanot_2::Run_Intro_Loop() {
    vb::Trap(Is_Compiled, "Run_Intro_Loop of Form Frm_kanot_2", [this] {
        const int centre_x = vb::CInt(width() / 2.0);
        const int centre_y = vb::CInt(height() / 2.0);
        for (int i = 1; i <= 30; ++i) {
            Picture_intro->hide();
            const int width = Picture_intro_2->width() * i / 35;
            const int height = Picture_intro_2->height() * i / 35;
            Picture_intro->setGeometry(centre_x - width / 2, centre_y - height / 2, width, height);
            gdi::StretchBlt(Picture_intro->hDC(), 0, 0, width, height, Picture_intro_2->hDC(), 0, 0,
                            vb::CLng(Picture_intro_2->ScaleWidth()), vb::CLng(Picture_intro_2->ScaleHeight()),
                            gdi::SRCCOPY);
            Picture_intro->Refresh();
            Picture_intro->show();
            Picture_intro->raise();
            repaint();
            Non_dependant::Do_Sleep(60, false);
        }
    });
}
