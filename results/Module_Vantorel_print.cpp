#include "Module_Vantorel_print.h"

#include "Form_LCS_preview.h"
#include "Frm_results.h"
#include "Module_Vantorel_export.h"
#include "platform/fs/File_system.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/Printer.h"
#include "platform/printer/System_printer.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "results/Results_export.h"
#include "shell/Module_Vantorel.h"
#include "platform/vb/Program_state.h"

namespace Module_Vantorel {

namespace {

constexpr int32_t No_Printer_Width = 11904;
constexpr int32_t No_Printer_Height = 16834;

}  // namespace

std::string Print_Footer::Text(const std::string& printed_at) const {
    if (!Made) return {};
    std::string text = "Printed by " + Program + " at: " + printed_at + " /" + Version + " /Computer: " + Computer;
    if (!Printer.empty()) text += " /Printer: " + Printer;
    return text;
}

void Check_Printer() {
    Printers_Num = 0;
    vb::Trap_With(
        true,
        [] {
            Printers_Num = vb::To_Int16(static_cast<int64_t>(printer::Printer_Names().size()));
            if (Printers_Num < 1) {
                Printer_Width = No_Printer_Width;
                Printer_Height = No_Printer_Height;
                return;
            }
            const printer::Page_size page = printer::Default_Page_Size();
            Printer_Width = page.Width;
            Printer_Height = page.Height;
            // One copy of every printout.
            System_Printer().Copies(1);
        },
        [](const VbError&) {
            Printer_Width = No_Printer_Width;
            Printer_Height = No_Printer_Height;
        });
}

void Set_Page_Box() {
    Print_Left = static_cast<float>(0.05 * Printer_Width);
    Print_Top = static_cast<float>(0.02 * Printer_Height);
    Print_Right = static_cast<float>(0.95 * Printer_Width);
    Print_Bottom = static_cast<float>(0.95 * Printer_Height);
}

printer::System_printer& System_Printer() {
    static printer::System_printer the_printer("");
    // Beside the exported results, where the operator looks for them; the data folder while there is
    // no export folder.
    the_printer.Pdf_Folder(fs::Folder_Exists(Export_Folder) ? Export_Folder : AppData_Folder);
    return the_printer;
}

void Begin_Printout(const std::string& title) {
    printer::System_printer& system = System_Printer();
    if (system.Printing()) system.Abort_Doc();
    Frm_results& results = Frm_results::Instance();
    if (Print_Target == results.Picture_preview.get()) Print_Target->Cls();
    Print_Job_Title = title;
    Application_Title = title;
    System_Printer().Job_Name(title);
}

void Printer_End() {
    vb::Trap(Is_Compiled, "Printer_End of Module Module_canoe", [] {
        Form_LCS_preview& preview = Form_LCS_preview::Instance();
        if (Print_Preview_Mode) {
            printer::Page_image& page = *Frm_results::Instance().Picture_preview;
            preview.Clear_Page();
            preview.Show();
            preview.Show_Page(page.Image());
            page.Picture(QImage());
            page.Cls();
            preview.activateWindow();
            preview.setFocus();
            return;
        }
        preview.Hide();
        printer::System_printer& system = System_Printer();
        const bool printed = system.Printing();
        const int error = system.End_Doc();
        Application_Title = App_Title;
        if (error) Tell_Print_Failure(system.Output_File(), error);
        else if (printed) Tell_Pdf_File(system.Output_File());
    });
}

void Tell_Pdf_File(const std::string& file) {
    if (!file.empty()) ui::MsgBox("No printer is installed: the printout is saved as " + file, ui::vbOKOnly);
}

void Tell_Print_Failure(const std::string& file, int error) {
    ui::MsgBox(printer::Print_Failure_Text(file, error), ui::vbExclamation);
}

printer::Page_size Preview_Window_Size(printer::Page_size page, int32_t work_height) {
    if (work_height >= page.Height || page.Height <= 0) return page;
    const float f = static_cast<float>(work_height) / static_cast<float>(page.Height);
    return {vb::CLng(f * static_cast<float>(page.Width)), vb::CLng(static_cast<float>(page.Height) * f)};
}

int16_t Mill_Time_Part(const std::string& Part, int32_t Mill) {
    const int32_t d = Mill % 86400000;
    const int32_t in_hour = d % 3600000;
    if (Part == "h") return static_cast<int16_t>(d / 3600000);
    if (Part == "m") return static_cast<int16_t>(in_hour / 60000);
    if (Part == "s") return static_cast<int16_t>(in_hour % 60000 / 1000);
    if (Part == "t") {
        const int32_t ms = in_hour % 60000 % 1000;
        return static_cast<int16_t>(ms >= 0 ? ms / 10 : -((-ms + 9) / 10));
    }
    return 0;
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

namespace {

std::string Right_Aligned(const std::string& text, int width) {
    const auto length = static_cast<int>(QString::fromStdString(text).size());
    return length >= width ? text : std::string(static_cast<size_t>(width - length), ' ') + text;
}

}  // namespace

std::string Result_Sheet_Line(const Results_export::Result_Row& row) {
    const std::string text = " " + Right_Aligned(row.Place, 3) + Right_Aligned(row.Lane, 6) + "  ";
    if (row.Time == "DSQ") return text + " Disqualified";
    if (row.Time == "DNF") return text + " Did not finish";
    if (row.Time == "DNS") return text + " Did not start";
    return text + row.Time + "  " + row.Delta;
}

std::pair<std::string, std::string> File_Name_Lines(const std::string& path) {
    const QString line = QString::fromStdString("File name: " + path);
    if (line.size() <= 60) return {line.toStdString(), {}};
    return {line.left(60).toStdString(), line.mid(60).toStdString()};
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

int16_t Printers_Num = 0;
int32_t Printer_Width = 0;
int32_t Printer_Height = 0;
float Print_Left = 0;
float Print_Top = 0;
float Print_Right = 0;
float Print_Bottom = 0;
bool Print_Preview_Mode = true;
printer::Print_target* Print_Target = nullptr;
std::string Print_Job_Title;
std::string Application_Title;
std::string Event_Logo_Path;
bool Event_Logo_Loaded = false;
int32_t Header_Bottom = 0;
Print_Footer Print_Footer_Text;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Printers_Num = 0;
    Printer_Width = 0;
    Printer_Height = 0;
    Print_Left = 0;
    Print_Top = 0;
    Print_Right = 0;
    Print_Bottom = 0;
    Print_Preview_Mode = true;
    Print_Target = nullptr;
    Print_Job_Title = {};
    Application_Title = {};
    Event_Logo_Path = {};
    Event_Logo_Loaded = false;
    Header_Bottom = 0;
    Print_Footer_Text = {};
});
}  // namespace

}  // namespace Module_Vantorel
