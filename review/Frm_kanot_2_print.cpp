// The review window's printouts: the print commands, the single frame, the picture series with its
// grid, the page footer's parts and the event logo.
#include "Frm_kanot_2.h"

#include "platform/gdi/Gdi_objects.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/System_printer.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "results/Form_LCS_preview.h"
#include "results/Frm_results.h"
#include "results/Module_Vantorel_export.h"
#include "results/Module_Vantorel_print.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <QSlider>

#include <algorithm>
#include <cmath>

using namespace Module_Vantorel;

namespace {

// Twips between the picture series and the footer line.
constexpr int32_t Footer_Gap = 100;
// The most pictures the series puts in one row.
constexpr int16_t Most_Across = 40;

// The review picture as it is shown: field, overlay and stamp.
QImage Shown_Picture(ui::Picture_box& box) {
    const gdi::Bitmap* surface = box.hDC()->Surface();
    if (!surface) return {};
    const QImage view(surface->Bits(), surface->Width(), surface->Height(), surface->Stride(), QImage::Format_BGR888);
    // Rows are stored bottom-up.
    return view.mirrored(false, true);
}

}  // namespace

bool Frm_kanot_2::Check_File_Open() {
    bool open = false;
    vb::Trap(Is_Compiled, "Check_File_Open of Form frm_kanot_2", [&] {
        open = File_open();
        if (!open) ui::MsgBox("No file open!", ui::vbOKOnly);
    });
    return open;
}

void Frm_kanot_2::Handle_Print_results() {
    if (Check_File_Open()) Frm_results::Instance().Print_Results(false);
}

void Frm_kanot_2::Handle_Print_Series() {
    vb::Trap(Is_Compiled, "handle_print_series of Form Frm_kanot_2", [this] {
        if (!Check_File_Open()) return;
        Frm_results::Instance().Print_Results(true);
        Non_dependant::Do_Sleep(500, true);
        Form_LCS_preview& preview = Form_LCS_preview::Instance();
        if (Print_Preview_Mode && preview.Visible()) {
            preview.activateWindow();
            preview.setFocus();
        }
    });
}

void Frm_kanot_2::Handle_Print_Single() {
    if (Check_File_Open()) PrintSingle();
}

printer::Page_size Frm_kanot_2::Single_Picture_Size(double top, double picture_ratio, double left, double right,
                                                    double footer) {
    double height = footer - top;
    double width = std::nearbyint(height / picture_ratio);
    // Fitted into the page box across too: a wide picture keeps its proportions and its right edge.
    const double room = right - 100 - left;
    if (width > room) {
        width = std::floor(room);
        height = width * picture_ratio;
    }
    return {vb::CLng(width), vb::CLng(height)};
}

void Frm_kanot_2::PrintSingle() {
    vb::Trap(Is_Compiled, "PrintSingle of Form frm_kanot_2", [this] {
        const std::string heat = Replay_File.Heat_ID(1);
        Form_LCS_preview::Instance().Clear_Page();
        Begin_Printout(Strip_Diacritics(Event_Name + " Heat " + heat + " Single"));
        Frm_results& results = Frm_results::Instance();
        if (Print_Target == results.Picture_preview.get()) Print_Target->Cls();
        if (!results.Print_Static_Content()) return;
        printer::Print_target& target = *Print_Target;
        target.CurrentX(Print_Left + 100);
        target.CurrentY(Header_Bottom);
        target.FontSize(16);
        target.Print("Heat = " + heat);
        const int32_t line_height = static_cast<int32_t>(target.TextHeight("Heat"));
        target.CurrentX(Print_Left + 100);
        target.Print("Video field no: " + std::to_string(Slider_play->value()) + "\r\n");
        const QImage picture = Shown_Picture(*Picture_large);
        const double top = Header_Bottom + 2.0 * line_height;
        const double ratio = Picture_large->ScaleHeight() / Picture_large->ScaleWidth();
        const printer::Page_size size =
            Single_Picture_Size(top, ratio, Print_Left + 100, Print_Right, Footer_Y_position);
        target.PaintPicture(picture, Print_Left + 100, top, size.Width, size.Height);
        Printer_End();
    });
}

int16_t Frm_kanot_2::Num_X_prints(int16_t x_width) {
    X_gap = 0.05F;
    return vb::To_Int16(static_cast<int64_t>(std::floor((Avail_Print_Width + 0.05 * x_width) / (x_width + 0.05 * x_width))));
}

int16_t Frm_kanot_2::Num_Y_prints(int16_t Y_height) {
    Y_gap = 0.05F;
    return vb::To_Int16(
        static_cast<int64_t>(std::floor((Avail_Print_Height + 0.05 * Y_height) / (Y_height + 0.05 * Y_height))));
}

void Frm_kanot_2::Print_Series_HD() {
    vb::Trap(Is_Compiled, "Print_Series of Form frm_kanot_2", [this] {
        printer::Print_target& target = *Print_Target;
        Avail_Print_Width = vb::CLng(Print_Right - Print_Left);
        const float ratio = static_cast<float>(Picture_large->ScaleHeight() / Picture_large->ScaleWidth());
        const int32_t y0 = Frm_results::Instance().Y_Pos_After_Results;
        // Down to just above the footer line, which the pictures must not cover.
        Avail_Print_Height = Footer_Y_position - Footer_Gap - y0;
        int16_t count = 0;
        for (int16_t place = 1; place <= Result_Places; ++place)
            if (Lane_Active_Heat_Array[place].Heat_result < Disqualified) ++count;
        int16_t width = 0, height = 0, across = 0, down = 0;
        // Smaller pictures, more to a row, until every place has its cell: ten to a row is not always
        // enough for sixteen tall pictures below a full sheet.
        for (int16_t k = 3; k <= Most_Across; ++k) {
            width = vb::CInt(static_cast<double>(Avail_Print_Width) / k);
            height = vb::CInt(width * ratio);
            across = Num_X_prints(width);
            down = Num_Y_prints(height);
            if (across * down >= count) break;
        }
        Series_Cells.clear();
        int16_t place = 0;
        for (int16_t row = 1; row <= down; ++row) {
            for (int16_t column = 1; column <= across; ++column) {
                ++place;
                if (place > Result_Places || Lane_Active_Heat_Array[place].Heat_result > Disqualified - 1) break;
                Picture_large->Picture(QImage());
                Picture_large->Cls();
                Set_Slider_Value(Go_to_Goal_field(place));
                Slider_play_Scroll();
                Print_Place_string(std::to_string(place));
                P_Large_refresh();
                const QImage picture = Shown_Picture(*Picture_large);
                const int32_t x = vb::CLng((width + width * X_gap) * (column - 1) + Print_Left);
                const int32_t y = vb::CLng((height + height * Y_gap) * (row - 1) + y0);
                target.PaintPicture(picture, x, y, width, height);
                Series_Cells.push_back({place, x, y, width, height});
                Non_dependant::Do_Sleep(100, false);
            }
        }
    });
}

void Frm_kanot_2::Make_Print_Footer() {
    vb::Trap(Is_Compiled, "Make_Print_footer of Form frm_kanot_2", [] {
        // Composed with or without a printer; the time is filled in when a page is printed.
        Print_Footer_Text = {true, Program_Name, Version_String, Non_dependant::Get_Computer_Name(),
                              Printers_Num != 0 ? printer::Default_Printer_Name() : std::string()};
    });
}

void Frm_kanot_2::item_select_logo_file_Click() {
    vb::Trap(true, "item_select_logo_file_Click of Form frm_kanot_2", [this] {
        // The drive's root by default; a switched-off (empty) logo starts there too.
        std::string logo = Non_dependant::Read_Ini("Canoe", "event_logo", Ini_file_path, "/");
        if (logo.find('/') == std::string::npos) logo = "/";
        const std::string folder = Non_dependant::ParsePath(logo, 16);
        ui::File_Request request{"Select Logo File", "Picture file (*.jpg;*.gif;*.bmp)|*.jpg;*.gif;*.bmp", folder, ""};
        const std::optional<std::string> chosen = ui::Dialogs().Open_File(request);
        if (!chosen) {
            Non_dependant::Write_Ini("Canoe", "event_logo", "", Ini_file_path);
            Load_logo();
            return;
        }
        Event_Logo_Path = *chosen;
        Non_dependant::Write_Ini("Canoe", "event_logo", Event_Logo_Path, Ini_file_path);
        Load_logo();
        Arrange_Frames();
    });
}

void Frm_kanot_2::Load_logo() {
    vb::Trap(Is_Compiled, "Load_logo of Form frm_kanot_2", [this] {
        Picture_logo->Picture(QImage());
        Event_Logo_Path = Non_dependant::Read_Ini("Canoe", "event_logo", Ini_file_path, "N/A");
        // Marked loaded only once the picture is in hand, so that a file that is no picture leaves the
        // page header with the event name.
        Event_Logo_Loaded = false;
        if (!Module_dependant::FileExists(Event_Logo_Path)) {
            Picture_logo->hide();
            return;
        }
        const QImage logo(QString::fromStdString(Event_Logo_Path));
        if (logo.isNull()) {
            Picture_logo->hide();
            vb::Raise(481, "Invalid picture");
        }
        Event_Logo_Loaded = true;
        const double f = std::min(static_cast<double>(Picture_logo->width()) / logo.width(),
                                  static_cast<double>(Picture_logo->height()) / logo.height());
        Picture_logo->Picture(logo.scaled(std::max(1, static_cast<int>(logo.width() * f)),
                                          std::max(1, static_cast<int>(logo.height() * f)), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation));
        Picture_logo->show();
    });
}
