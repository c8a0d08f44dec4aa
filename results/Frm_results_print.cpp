// The results window's printing: the Printer | Preview choice, the page furniture every printout
// carries, the result sheet, and the developer menu's printer test and position test.
#include "Frm_results.h"

#include "Module_Vantorel_export.h"
#include "Module_Vantorel_print.h"
#include "Results_export.h"
#include "Review_window_commands.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/System_printer.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "resources/Resources.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant_windows.h"
#include "shell/Non_dependant.h"
#include "store/cls_VideoFile_handler.h"

#include <QLabel>
#include <QRadioButton>

#include <algorithm>

namespace Review = Review_window_commands;
using namespace Module_Vantorel;

namespace {

constexpr int32_t Err_Printer = 482;
constexpr int32_t Black = 0;
constexpr int32_t Blue = 255 << 16;

QImage Product_Logo() {
    const std::vector<uint8_t> bytes = resources::Load_Res_Data("bitmap", "VANTOREL_LOGGA");
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()));
}

// The event logo file as a picture; error 481 ("Invalid picture") when it is none.
QImage Picture_File(const std::string& path) {
    QImage picture(QString::fromStdString(path));
    if (picture.isNull()) vb::Raise(481, "Invalid picture");
    return picture;
}

}  // namespace

void Frm_results::Handle_Preview() {
    vb::Trap(Is_Compiled, "Handle_Preview of Form Frm_results", [this] {
        if (Print_Preview_Mode) {
            Print_Target = Picture_preview.get();
            return;
        }
        Print_Preview_Mode = false;
        // Without a printer the system printer makes a PDF file.
        Print_Target = &System_Printer();
    });
}

void Frm_results::Opt_printer_Click(int16_t Index) {
    vb::Trap(Is_Compiled, "Opt_printer_Click of Form Frm_results", [&] {
        (void)Index;
        Print_Preview_Mode = Opt_printer(0).isChecked();
        Handle_Preview();
    });
}

bool Frm_results::Print_Static_Content() {
    bool done = false;
    const auto body = [&] {
        printer::Print_target& target = *Print_Target;
        printer::Page_image& scratch = *Pict_temp_page;
        const double L = Print_Left, T = Print_Top, R = Print_Right, B = Print_Bottom;
        const double target_height = target.ScaleHeight();
        scratch.Picture(QImage());
        scratch.Resize(1, 1);

        target.ForeColor(Black);
        target.DrawWidth(2);
        target.Box(vb::CLng(L), vb::CLng(T), vb::CLng(R), vb::CLng(B));

        const QImage logo = Product_Logo();
        scratch.Picture(logo);
        const int32_t logo_height = scratch.ScaleHeight();
        const int32_t X_logo = vb::CLng(R - scratch.ScaleWidth() - 100);
        target.PaintPicture(logo, X_logo, 0.03 * target_height);

        scratch.FontName("Arial");
        scratch.FontSize(28);
        scratch.FontBold(true);
        scratch.Picture(QImage());
        scratch.Cls();
        const int32_t W_avail = vb::CLng(X_logo - (L + 300));

        QImage header;
        if (Event_Logo_Loaded) {
            header = Picture_File(Event_Logo_Path);
            scratch.Picture(header);
        } else {
            const std::string name = Review::Replay_File().Event_name();
            scratch.ForeColor(Blue);
            scratch.Resize(W_avail, logo_height);
            // The size is fitted in the window's scratch box, in screen pixels, as the screen shows it.
            const int32_t twips = ui::Twips_Per_Pixel_X();
            Pict_temp->resize(std::max(1, W_avail / twips), std::max(1, logo_height / ui::Twips_Per_Pixel_Y()));
            Pict_temp->FontBold(true);
            int16_t size = Module_dependant::Max_Font(*Pict_temp, name + "xxx");
            scratch.FontName("Arial");
            scratch.FontSize(size);
            // Smaller still where the page's own measure finds the name wider than its room: the band
            // ends before the logo and the name must not lose its end there.
            while (size > 1 && scratch.TextWidth(name) > W_avail) scratch.FontSize(--size);
            scratch.Resize(W_avail, vb::CLng(scratch.TextHeight(name)));
            scratch.Cls();
            scratch.Print(name);
            header = scratch.Image();
        }
        const double width = scratch.ScaleWidth(), height = scratch.ScaleHeight();
        const double f = width > W_avail ? W_avail / width : 1.0;
        target.PaintPicture(header, L + 100, 0.03 * target_height, width * f, height * f);
        const int32_t header_bottom = vb::CLng(height + T + 100);

        scratch.FontName("Arial");
        scratch.FontSize(8);
        scratch.FontBold(false);
        scratch.Picture(QImage());
        scratch.Cls();
        scratch.ForeColor(Black);
        const cls_VideoFile_handler& file = Review::Replay_File();
        const auto [line1, line2] = File_Name_Lines(file.File_name());
        scratch.Resize(1, 1);
        scratch.Resize(vb::CLng(scratch.TextWidth(line1 + "xx") + 50), vb::CLng(5 * scratch.TextHeight(line1)));
        scratch.Cls();
        scratch.CurrentX(50);
        scratch.Print(line1);
        if (!line2.empty()) {
            scratch.CurrentX(50);
            scratch.Print(line2);
        }
        scratch.CurrentX(50);
        scratch.Print("File created at: " + file.DateCreated());
        scratch.Print("File last modified at: " + file.DateLastModified());
        scratch.DrawWidth(1);
        scratch.Box(1, 1, scratch.ScaleWidth() - 1, scratch.ScaleHeight() - 20);
        const double file_top = 0.14 * target_height;
        target.PaintPicture(scratch.Image(), R - scratch.ScaleWidth() - 100, file_top, scratch.ScaleWidth(),
                            scratch.ScaleHeight());
        // Below the box where it is drawn, so that the heat line never runs under it.
        const int32_t file_bottom = vb::CLng(file_top + scratch.ScaleHeight());

        Header_Bottom = std::max(header_bottom, file_bottom);

        target.FontName("Arial");
        target.FontSize(8);
        target.FontBold(false);
        target.FontUnderline(false);
        target.CurrentX(L + 100);
        target.CurrentY(B - 200);
        Review::Set_Footer_Y_position(vb::CLng(target.CurrentY()));
        // The time of printing, not of the program's start.
        target.Print(Print_Footer_Parts.Text(Non_dependant::Now_Text()));
        done = true;
    };
    vb::Trap_With(Is_Compiled, body, [](const VbError& e) {
        if (e.Number() == Err_Printer) ui::MsgBox("Printer error", ui::vbOKOnly);
        else vb::Report_Error(e, "Print_Static_Content of Form Frm_results");
    });
    return done;
}

void Frm_results::Print_Results(bool with_pictures) {
    vb::Trap(Is_Compiled, "Print_Results of Form Frm_results", [&] {
        const std::string heat = Review::Replay_File().Heat_ID(1);
        const std::string kind = with_pictures ? "Series" : "Results";
        Begin_Printout(Strip_Diacritics(Event_Name + " Heat: " + heat + " " + kind));
        if (!Print_Static_Content()) return;
        printer::Print_target& target = *Print_Target;
        target.CurrentX(Print_Left);
        target.CurrentY(Header_Bottom);
        target.FontSize(16);
        target.Print("Results for Heat: " + heat);
        target.FontSize(10);
        target.CurrentX(Print_Left);
        target.Print("\r\n");
        target.FontName("Courier New");
        target.FontSize(15);
        target.FontUnderline(true);
        target.CurrentX(Print_Left);
        target.FontBold(true);
        target.Print("Place Lane       Time   Diff.");
        target.FontUnderline(false);
        std::vector<Results_export::Result_Row> shown;
        for (auto& [row, label] : Lbl_result_rank)
            shown.push_back({label->text().toStdString(), Lbl_result_lane(row).text().toStdString(),
                             Lbl_result_time(row).text().toStdString(), Lbl_result_delta_time(row).text().toStdString()});
        // Places 13 to 16, which the window has no rows for, follow the shown ones.
        for (const Results_export::Result_Row& row : Results_export::Export_Rows(shown, Heat_Correction_Mill)) {
            target.CurrentX(Print_Left);
            target.Print(Result_Sheet_Line(row));
        }
        target.CurrentY(target.CurrentY() + 300);
        Y_Pos_After_Results = vb::CLng(target.CurrentY());
        if (with_pictures) Review::Print_Series_HD();
        Printer_End();
    });
}

void Frm_results::item_printer_test_Click() {
    if (Print_Static_Content()) Printer_End();
}

void Frm_results::item_test_position_Click() { Move(Review::Right_Edge(), Top()); }
