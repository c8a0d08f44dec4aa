// The review window's automatic finish detection: the spans of the goal line between the lane marks
// are tested on the shown field, by a run over the heat or after every field display.
#include "Form_Auto_detect.h"
#include "Frm_kanot_2.h"

#include "Module_Vantorel_course.h"
#include "Module_Vantorel_overlay.h"
#include "imaging/Vorsk_WuLines.h"
#include "results/Frm_results.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>
#include <QSlider>

#include <algorithm>

using namespace Module_Vantorel;

namespace {

// The shown field of the review window's store.
class Shown_field : public Auto_detect::Field_pixels {
public:
    explicit Shown_field(cls_VideoFile_handler& file) : file_(file) {}
    int32_t Get_Field_Pixel(int16_t x, int16_t y) override { return file_.Get_Field_Pixel(x, y); }

private:
    cls_VideoFile_handler& file_;
};

Auto_detect::Goal_line Header_Goal_line(cls_VideoFile_handler& file) {
    Auto_detect::Goal_line line;
    file.Get_Goalline(line.x1, line.y1, line.x2, line.y2);
    return line;
}

void Line(gdi::Device_context* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    gdi::MoveToEx(dc, x1, y1);
    gdi::LineTo(dc, x2, y2);
}

}  // namespace

void Frm_kanot_2::Setup_Lanes_Auto_Detect() { Auto.Setup_Lanes_Auto_Detect(Lane_Collection); }

void Frm_kanot_2::Test_Auto_Lanes() {
    if (!File_open()) return;
    Form_Auto_detect& form = Form_Auto_detect::Instance();
    // The limits are read once per test: nothing changes them while the spans are sampled.
    const std::optional<Auto_detect::Trigger_levels> levels = form.Levels();
    if (!levels) return;
    bool last = false;
    Shown_field field(Replay_File);
    const std::vector<int16_t> fired =
        Auto.Test_Auto_Lanes(Lane_Collection, field, Header_Goal_line(Replay_File), [&](int32_t pixel) {
            return last = Auto_detect::Triggers(Non_dependant::RGB_To_HSL(pixel), *levels);
        });
    form.Show_Trigger(last);
    for (int16_t span : fired) {
        QApplication::beep();
        // The marks may have changed since the set-up; a span without its mark has no lane.
        if (static_cast<size_t>(span) >= Lane_Collection.size()) continue;
        Non_dependant::Do_Sleep(250, false);
        if (form.Check_set_times_auto->isChecked() && !Auto_Test_Mode)
            Attach_Time(Lane_Collection.at(static_cast<size_t>(span)).Lane_number(), 0, false);
    }
}

void Frm_kanot_2::Auto_Detect() {
    vb::Trap(Is_Compiled, "Auto_Detect of Form frm_kanot_2", [this] {
        // No file, or a heat of one field: nothing to run over, nothing set up.
        const std::vector<int32_t> fields =
            File_open() ? Auto_detect::Fields_to_scan(Replay_File.Num_Frames(), Replay_File.Interlaced())
                        : std::vector<int32_t>{};
        if (fields.empty()) return;
        Setup_Lanes_Auto_Detect();
        // The events let through may open another heat or close this one: the fields and marks are not
        // that heat's, and nothing of this run belongs in it.
        const uint32_t opened = Files_Opened;
        const auto heat_gone = [this, opened] { return !File_open() || Files_Opened != opened; };
        // Each field's goal-line pixels are read from its frame, the field number and time shown with it; the
        // field the run ends on is drawn then, as a field display does.
        const int32_t tested = Auto_detect::Run(
            fields,
            [this](int32_t field) {
                Set_Slider_Value(field);
                if (!Capture_Running) Replay_File.Read_RGB_Field(field);
                Update_frm_label();
                Update_Frame_Time();
                QApplication::processEvents();
            },
            [&heat_gone] { return heat_gone() || Non_dependant::First_Key_Down() > 0; },
            [this] { Test_Auto_Lanes(); });
        if (heat_gone()) return;
        Slider_play_Scroll();
        // A silent end would look like a run that did not start.
        if (std::none_of(Auto.Lane_Spans.begin(), Auto.Lane_Spans.end(),
                         [](const Auto_detect::Lane_Span& span) { return span.Triggered; }))
            ui::MsgBox("Auto detect found no finish in the " + std::to_string(tested) + " fields tested.",
                       ui::vbInformation);
    });
}

void Frm_kanot_2::Test_Pixel(float x, float y) {
    if (!File_open()) return;
    // As the overlay is drawn: the view scale and the stretch.
    const Review_geometry::Point video = Video_Point(x, y);
    const int16_t vx = vb::To_Int16(vb::CLng(video.X)), vy = vb::To_Int16(vb::CLng(video.Y));
    Form_Auto_detect::Instance().Test_pixel_for_Trigger(Replay_File.Get_Field_Pixel(vx, vy), true);
}

void Frm_kanot_2::Read_Extra_line() {
    if (File_open()) Auto_detect::Read_Extra_line(Replay_File.Hdr_spare1(), Auto.Extra_X, Auto.Extra_Y);
}

void Frm_kanot_2::Draw_Extra_line() {
    Read_Extra_line();
    if (!Overlay_DIB().hDC()) return;
    const int32_t x = Auto.Extra_X, y = Auto.Extra_Y;
    const Point_Integer from{vb::To_Int16(x - 20), vb::To_Int16(y)};
    const Point_Integer to{vb::To_Int16(x + 20), vb::To_Int16(y)};
    Vorsk_WuLines::Draw_Wu_Line(Overlay_DIB().hDC(), from, to, RGB_Triple{255, 0, 0}, 2, false);
}

Auto_detect::Goal_line Frm_kanot_2::Set_Goal_Line() {
    const Auto_detect::Goal_line ends = Header_Goal_line(Replay_File);
    Goal_Line.Start_Point(ends.x1, ends.y1);
    Goal_Line.End_Point(ends.x2, ends.y2);
    Goal_Line.Length();
    return ends;
}

void Frm_kanot_2::xCalculate_Goal_HSL() {
    if (!File_open() || Lane_Collection.empty()) return;
    const Auto_detect::Goal_line ends = Set_Goal_Line();
    Shown_field field(Replay_File);
    Goal_Colours.Calculate(field, ends, Auto.Extra_Y, Lane_Collection.back().Y());
}

void Frm_kanot_2::Draw_Goal_HSL() {
    if (!File_open()) return;
    Form_Auto_detect& form = Form_Auto_detect::Instance();
    Set_Goal_Line();
    const int16_t n = Goal_Line.Length();
    gdi::Device_context* dc = Picture_large->hDC();
    if (!dc) return;
    const int32_t W = vb::To_Int16(vb::CLng(Picture_large->ScaleWidth()));
    const int32_t H = vb::To_Int16(vb::CLng(Picture_large->ScaleHeight()));
    auto pen = [dc](int32_t width, gdi::COLORREF colour) {
        gdi::Gdi_object* previous = gdi::SelectObject(dc, gdi::CreatePen(gdi::PS_SOLID, width, colour));
        gdi::DeleteObject(previous);
    };
    const gdi::COLORREF blue = gdi::RGB(0, 0, 255), yellow = gdi::RGB(255, 255, 0), cyan = gdi::RGB(0, 255, 255),
                        white = gdi::RGB(255, 255, 255);
    gdi::Gdi_object* original = gdi::SelectObject(dc, gdi::CreatePen(gdi::PS_SOLID, 2, blue));
    // A 16-bit step would wrap past a line of 32767 pixels and never end.
    for (int32_t i = 1; i <= n; ++i) {
        const auto step = static_cast<int16_t>(i);
        const int16_t x = Goal_Line.X_coord(step), y = Goal_Line.Y_coord(step);
        const int32_t p = Replay_File.Get_Field_Pixel(x, y);
        const Non_dependant::HSL_Color h = Non_dependant::RGB_To_HSL(p);
        form.Test_pixel_for_Trigger(p, false);
        pen(2, blue);
        Line(dc, W, y, W - vb::CLng(h.Hue / 5.0), y);
        pen(2, yellow);
        Line(dc, W - 60, y, W - 60 - h.Sat, y);
        pen(2, cyan);
        Line(dc, W - 120, y, W - 120 - h.Lum, y);
    }
    for (const Goal_HSL::Mark& mark : Goal_Colours.Marks(W)) {
        pen(1, mark.Maximum ? yellow : white);
        Line(dc, mark.X, 0, mark.X, H);
    }
    gdi::DeleteObject(gdi::SelectObject(dc, original));
    Picture_large->Refresh();
}

// A click has turned the item's check mark already.
void Frm_kanot_2::item_auto_detect_Click() {
    Form_Auto_detect& form = Form_Auto_detect::Instance();
    if (item_auto_detect.Checked()) {
        form.Show();
        Place_Beside_Picture(form);
    } else {
        form.Hide();
    }
    if (File_open()) New_Graphics();
}

void Frm_kanot_2::Place_Beside_Picture(ui::Form& form) {
    const QRect picture(Picture_large->mapToGlobal(QPoint(0, 0)), Picture_large->size());
    const QRect frame = form.frameGeometry();
    if (!frame.intersects(picture)) return;
    const QRect screen = form.screen() ? form.screen()->availableGeometry() : QRect();
    QRect beside = frameGeometry();
    if (ui::Is_Loaded("Frm_results") && Frm_results::Instance().isVisible())
        beside = beside.united(Frm_results::Instance().frameGeometry());
    // Right of the review and results windows, else right of the picture over the controls, else left of it.
    const QPoint places[] = {{beside.right() + 1, picture.top()},
                             {picture.right() + 1, picture.top()},
                             {picture.left() - frame.width(), picture.top()}};
    for (const QPoint& at : places) {
        const QRect moved(at, frame.size());
        if (screen.contains(moved) && !moved.intersects(picture)) {
            form.move(at);
            return;
        }
    }
}

void Frm_kanot_2::item_auto_for_frame_Click() {
    if (item_auto_for_frame.Checked()) Setup_Lanes_Auto_Detect();
}

void Frm_kanot_2::item_setup_auto_Click() { Setup_Lanes_Auto_Detect(); }

void Frm_kanot_2::item_test_auto_lanes_Click() {
    Auto_Test_Mode = true;
    Setup_Lanes_Auto_Detect();
    Test_Auto_Lanes();
    Auto_Test_Mode = false;
}

void Frm_kanot_2::item_Test_Line_Click() {
    if (!File_open()) return;
    Set_Goal_Line();
    const int16_t n = Goal_Line.Length();
    for (int32_t i = 1; i <= n; i += 10)
        Replay_File.Let_Field_Pixel(Goal_Line.X_coord(static_cast<int16_t>(i)), Goal_Line.Y_coord(static_cast<int16_t>(i)),
                                    0x00FFFF);
    Replay_File.Draw_Current_Field(*Picture_large);
    Picture_large->Refresh();
}
