// The review window's results: a press on the shown field and the lane keys give lanes their results,
// which the heat result model keeps in the file's header; the results window's rows show them sorted.
#include "Frm_kanot_2.h"

#include "Module_Vantorel_course.h"
#include "Module_Vantorel_results.h"
#include "Module_Vantorel_results_windows.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Text_fit.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "results/Frm_results.h"
#include "results/Review_window_commands.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant_windows.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>

#include <algorithm>

using namespace Module_Vantorel;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The type of the results window's rows.
constexpr int Row_Points = 12;

}  // namespace

void Frm_kanot_2::Attach_Time(int16_t Lane, int32_t Heat_result, bool plus_time) {
    vb::Trap(
        Is_Compiled, "Attach_Time of Form frm_kanot_2",
        [&] {
            if (!File_open()) {
                QApplication::beep();
                return;
            }
            std::optional<int32_t> shown;
            if (Shown_Field_Time_Known) shown = Shown_Field_Time;
            const int32_t field = Heat_result >= First_Code ? 0 : vb::CLng(Lbl_frameno->text().toStdString());
            const Attach_Outcome outcome = Attach_Result(Replay_File, Lane, Heat_result, plus_time, shown, field,
                                                         sys::timeGetTime());
            if (outcome == Attach_Outcome::No_Time) QApplication::beep();
            if (outcome != Attach_Outcome::Stored) return;
            Complete_Result_Array();
            New_Graphics();
            if (Timed_Result_Count == 1) Lbl_delta_time_Click();
            SliderPlay_Focus();
            Slider_play_Scroll();
        },
        "p_Active_Result = 1Lane = " + std::to_string(Lane));
}

void Frm_kanot_2::Complete_Result_Array() {
    vb::Trap(Is_Compiled, "Complete_Result_Array of Form frm_kanot_2", [this] {
        if (!File_open()) return;
        Load_All_Heats_Array_from_File(Replay_File, 1);
        Copy_Active_Heat();
        Heat_Correction_Mill = Replay_File.Heat_Start_Correction(1);
        Lane_Active_Heat_Array_Sort();
        Frm_results::Instance().Display_Compensate_Mill();
        Frm_results::Instance().Clear_Results();
        Fill_Results();
        New_Graphics();
        Slider_play_Scroll();
    });
}

void Frm_kanot_2::Fill_Results() {
    vb::Trap(Is_Compiled, "Fill_Results of Form frm_kanot_2", [this] {
        Timed_Result_Count = 0;
        if (!File_open()) return;
        for (Cls_lane& mark : Lane_Collection) mark.time(0);
        Frm_results& results = Frm_results::Instance();
        const int32_t correction = Replay_File.Heat_Start_Correction(1);
        const int32_t winner = Lane_Active_Heat_Array[1].Heat_result;
        for (int16_t place = 1; place <= Result_Lanes; ++place) {
            const Lane_Heat_Result& r = Lane_Active_Heat_Array[place];
            if (r.Heat_result >= No_Result) break;
            const int16_t row = static_cast<int16_t>(place - 1);
            if (results.Lbl_result_rank.Exists(row)) {
                results.Lbl_result_rank(row).setText(QString::number(place));
                results.Lbl_result_lane(row).setText(QString::number(r.Lane));
                if (r.Heat_result < 10000000) {
                    const int32_t shown = vb::To_Int32(int64_t{r.Heat_result} - correction);
                    const int32_t behind = vb::To_Int32(int64_t{r.Heat_result} - winner);
                    // A time of an hour or more takes a smaller type rather than losing its end.
                    ui::Show_Fitted(results.Lbl_result_time(row), Q(Non_dependant::Display_Mill_Time(shown, false)),
                                    Row_Points);
                    ui::Show_Fitted(results.Lbl_result_delta_time(row),
                                    Q("+" + Non_dependant::Display_Mill_Time(behind, true)), Row_Points);
                    ++Timed_Result_Count;
                } else if (r.Heat_result == Disqualified) {
                    ui::Show_Fitted(results.Lbl_result_time(row), "DSQ", Row_Points);
                } else if (r.Heat_result == Did_Not_Start) {
                    ui::Show_Fitted(results.Lbl_result_time(row), "DNS", Row_Points);
                } else if (r.Heat_result == Did_Not_Finish) {
                    ui::Show_Fitted(results.Lbl_result_time(row), "DNF", Row_Points);
                }
            }
            // Places beyond the rows still colour their marks.
            for (Cls_lane& mark : Lane_Collection)
                if (mark.Lane_number() == r.Lane) mark.time(r.Heat_result);
        }
        results.Lbl_capture_time->setText(QString::number(Replay_File.Capture_mill_time()));
        const std::string heat = Replay_File.Heat_ID(1);
        results.Pict_temp->resize(results.Lbl_heat->width(), results.Lbl_heat->height());
        // The size the box's own measure gives, made smaller where the label's font needs more room.
        const int largest = std::max<int16_t>(1, Module_dependant::Max_Font(*results.Pict_temp, heat));
        ui::Show_Fitted(*results.Lbl_heat, Q(heat), largest);
        results.Lbl_heat->setToolTip(Q(heat));
    });
}

void Frm_kanot_2::Clear_Results() {
    vb::Trap(Is_Compiled, "Clear_results of Form frm_kanot_2", [] {
        Frm_results& results = Frm_results::Instance();
        for (auto& [row, label] : results.Lbl_result_rank) {
            label->clear();
            results.Lbl_result_lane(row).clear();
            results.Lbl_result_time(row).clear();
            results.Lbl_result_delta_time(row).clear();
        }
        results.Lbl_heat->clear();
        results.Lbl_capture_time->clear();
    });
}

void Frm_kanot_2::Set_Captions() {
    vb::Trap(Is_Compiled, "Set_Captions of Form frm_kanot_2", [this] {
        const std::string name = File_open() ? Replay_File.Event_name() : Event_Name;
        QLabel* label = Frm_results::Instance().lbl_event_name;
        ui::Show_Fitted(*label, Q(name), Row_Points);
        label->setToolTip(Q(name));
    });
}

void Frm_kanot_2::Print_Place_string(const std::string& Place) {
    vb::Trap(Is_Compiled, "Print_Place_string of Form frm_kanot_2", [&] {
        const double w = Picture_large->ScaleWidth(), h = Picture_large->ScaleHeight();
        const gdi::Rect box{vb::CLng(0.8 * w), vb::CLng(0.8 * h), vb::CLng(0.97 * w), vb::CLng(0.95 * h)};
        gdi::Device_context* dc = Picture_large->hDC();
        // As large as the corner holds: the low corner of a wide picture, or a place of two digits on a
        // narrow one, would otherwise be cut at the picture's edge (an Arial line is 1.15 times its
        // height, a digit 0.56 times as wide).
        const double fits = std::min((box.bottom - box.top) / 1.15,
                                     (box.right - box.left) / (0.56 * static_cast<double>(std::max<size_t>(1, Place.size()))));
        const int32_t height = std::clamp(static_cast<int32_t>(fits), 1, 120);
        gdi::Font* font = gdi::CreateFontA(-height, 0, 0, 0, 400, false, false, false, 1, 0, 0, 2, 0, "Arial");
        gdi::Gdi_object* previous = gdi::SelectObject(dc, font);
        const int32_t colour = gdi::SetTextColor(dc, 0xFFFFFF);
        const int32_t mode = gdi::SetBkMode(dc, gdi::TRANSPARENT);
        gdi::DrawTextA(dc, Place, box, gdi::DT_CENTER | gdi::DT_TOP | gdi::DT_SINGLELINE | gdi::DT_NOCLIP);
        gdi::SetBkMode(dc, mode);
        gdi::SetTextColor(dc, static_cast<gdi::COLORREF>(colour));
        gdi::SelectObject(dc, previous);
        gdi::DeleteObject(font);
        P_Large_refresh();
    });
}

void Frm_kanot_2::Picture_large_MouseDown(int16_t Button, int16_t, float X, float Y) {
    vb::Trap(Is_Compiled, "Picture_large_MouseDown of Form frm_kanot_2", [&] {
        if (!File_open()) return;
        if (Button == 1 && Zoom_Mode) {
            Zoom_X = X;
            Zoom_Y = Y;
            DO_RGB_Zoom();
            return;
        }
        Mouse_Down_X = vb::CLng(X);
        Mouse_Down_Y = vb::CLng(Y);
        Set_Focus();
        // In video pixels with the scale and the stretch the overlay is drawn with.
        const Review_geometry::Point video = Video_Point(X, Y);
        if (Non_dependant::Esc_Down()) {
            // Whole pixels, so that the text reads back the same in every locale; what the file does not
            // take is not kept either.
            const std::string before = Replay_File.Hdr_spare1();
            Replay_File.Hdr_spare1(std::to_string(vb::CLng(video.X)) + "," + std::to_string(vb::CLng(video.Y)));
            bool written = false;
            try {
                written = Replay_File.Write_XML_Header();
            } catch (...) {
                Replay_File.Hdr_spare1(before);
                throw;
            }
            if (!written) {
                Replay_File.Hdr_spare1(before);
                return;
            }
            QApplication::beep();
            New_Graphics();
            return;
        }
        Check_within_lanes(video.X, video.Y);
        if (!Replay_File.Lanes_locked()) {
            if (Button == 1 && Current_Lane >= 0) {
                const Cls_lane& mark = Lane_Collection.at(static_cast<size_t>(Current_Lane_Index - 1));
                Drag_Start_X = mark.X();
                Drag_Start_Y = mark.Y();
                Drag_Lane = Current_Lane;
            }
            return;
        }
        if (Non_dependant::Key_Down(70) && Current_Lane >= 0) Attach_Time(Current_Lane, 0, false);
        if (Button == 1 && Current_Lane >= 0) {
            const int16_t place = Lane_To_Place(Current_Lane);
            if (place > 0) {
                Set_Slider_Value(Go_to_Goal_field(place));
                Slider_play_Scroll();
                Set_Focus();
                Print_Place_string(std::to_string(place));
            }
        } else if (Button == 2 && Current_Lane >= 0 && File_open()) {
            Pict_lane_result->hide();
            menu_Result.Menu()->exec(QCursor::pos());
        }
    });
}

void Frm_kanot_2::item_set_time_Click() { Attach_Time(Current_Lane, 0, false); }
void Frm_kanot_2::item_set_disq_Click() { Attach_Time(Current_Lane, Disqualified, false); }
void Frm_kanot_2::item_set_did_not_finish_Click() { Attach_Time(Current_Lane, Did_Not_Finish, false); }
void Frm_kanot_2::item_set_did_not_start_Click() { Attach_Time(Current_Lane, Did_Not_Start, false); }
void Frm_kanot_2::item_set_time_plus_Click() { Attach_Time(Current_Lane, 0, true); }
void Frm_kanot_2::item_clear_lane_Click() { Attach_Time(Current_Lane, No_Result, false); }

void Frm_kanot_2::Install_Results_Window_Commands() {
    Review_window_commands::Install({
        .Replay_File = [this]() -> cls_VideoFile_handler& { return Replay_File; },
        .Fill_Results = [this] { Fill_Results(); },
        .Complete_Result_Array = [this] { Complete_Result_Array(); },
        .Clear_All_Results = [] { Module_Vantorel::Clear_All_Results(); },
        .Draw_Graphics = [this](bool Refresh, bool StartCam) { Draw_Graphics(Refresh, StartCam); },
        .Show_Field =
            [this](int32_t n) {
                Set_Slider_Value(n);
                Slider_play_Scroll();
            },
        .Set_Focus = [this] { Set_Focus(); },
        .Print_Place_string = [this](const std::string& Place) { Print_Place_string(Place); },
        .SliderPlay_Focus = [this] { SliderPlay_Focus(); },
        .Set_Footer_Y_position = [this](int32_t y) { Footer_Y_position = y; },
        .Print_Series_HD = [this] { Print_Series_HD(); },
        .Handle_Print_results = [this] { Handle_Print_results(); },
        .Handle_Print_Series = [this] { Handle_Print_Series(); },
        .Handle_Print_Single = [this] { Handle_Print_Single(); },
        .Right_Edge = [this] { return Left() + Width(); },
    });
}
