// The review window's fields: the hub that every change of the shown field ends in, the field time,
// the slider's keys, the magnifier and playback.
#include "Frm_kanot_2.h"

#include "Form_Auto_detect.h"

#include "Module_Vantorel_course.h"
#include "Module_Vantorel_overlay.h"
#include "Module_Vantorel_results.h"
#include "imaging/modAPIDraw.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

using namespace Module_Vantorel;

namespace {

// The halftone stretch of a field picture: neighbouring source pixels are averaged (Qt's smooth
// scaling) where the nearest-pixel copy would repeat them. Only the part of the source rectangle inside
// the picture is drawn.
void Halftone_Stretch(gdi::Device_context* destination, int32_t x, int32_t y, int32_t w, int32_t h,
                      gdi::Device_context* source, int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
    gdi::Bitmap* to = destination ? destination->Surface() : nullptr;
    const gdi::Bitmap* from = source ? source->Surface() : nullptr;
    if (!to || !from || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    const int32_t left = std::max(sx, 0), top = std::max(sy, 0);
    const int32_t right = std::min(sx + sw, from->Width()), bottom = std::min(sy + sh, from->Height());
    if (left >= right || top >= bottom) return;
    const double across = static_cast<double>(w) / sw, down = static_cast<double>(h) / sh;
    const int32_t dx = x + vb::CLng((left - sx) * across), dy = y + vb::CLng((top - sy) * down);
    const int32_t dw = vb::CLng((right - left) * across), dh = vb::CLng((bottom - top) * down);
    if (dw <= 0 || dh <= 0) return;
    // The bitmap's rows are bottom-up: as an image it stands on its head, and so does the rectangle.
    const QImage upside_down(from->Bits(), from->Width(), from->Height(), from->Stride(), QImage::Format_BGR888);
    const QImage scaled = upside_down.copy(left, from->Height() - bottom, right - left, bottom - top)
                              .scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_BGR888);
    const gdi::Pixel_view view{scaled.constBits(), static_cast<int32_t>(scaled.width()),
                               static_cast<int32_t>(scaled.height()), static_cast<int32_t>(scaled.bytesPerLine())};
    if (gdi::Stretch_Pixels(*to, dx, dy, dw, dh, view, 0, 0, dw, dh)) destination->Drawn();
}

}  // namespace

void Frm_kanot_2::Set_Slider_Value(int32_t value) {
    const QSignalBlocker quiet(Slider_play);
    Slider_play->setValue(value);
}

void Frm_kanot_2::Slider_play_Scroll() {
    if (Slider_play->value() == 0) {
        Set_Slider_Value(1);
        Write_Event_Log("!!! Slider_play.value = 0" + Replay_File.File_name());
    }
    Slider_play->setSingleStep(Non_dependant::Ctrl_Down() ? 4 : 1);
    if (Scroll_Busy || Capture_Running || !File_open()) return;
    // However the drawing ends, even by an error passed on to the caller, the next change draws again.
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(Scroll_Busy);
    vb::Trap(Is_Compiled, "Slider_play_Scroll of Form frm_kanot_2", [this] {
        Replay_File.Draw_RGB_Field(Slider_play->value(), *Picture_large);
        const bool sample_data = item_display_sample_data.Checked();
        if (sample_data && Replay_File.KD3_Compression_Quality() < 80) QApplication::beep();
        Update_frm_label();
        Update_Frame_Time();
        Blit_Graphics();
        if (sample_data) Display_Sample_Data();
        P_Large_refresh();
        if (Zoom_Mode) DO_RGB_Zoom();
        if (ui::Is_Loaded("Form_Auto_detect") && Form_Auto_detect::Instance().Check_draw_HSL->isChecked()) {
            Draw_Goal_HSL();
            Test_Pixel(Picture_large_Last_X, Picture_large_Last_Y);
        }
        if (item_auto_for_frame.Checked()) Test_Auto_Lanes();
    });
}

void Frm_kanot_2::Update_frm_label() {
    Lbl_frameno->setText(QString::fromStdString(vb::Format(Slider_play->value(), "0000")));
    Lbl_frameno->update();
}

void Frm_kanot_2::Update_Frame_Time() {
    vb::Trap(Is_Compiled, "Update_frame_time of Form frm_kanot_2", [this] {
        // A record that could not be read has no time: its field shows none and takes no result,
        // rather than another frame's time or the heat start's.
        if (!Replay_File.Frame_available()) {
            Shown_Field_Time_Known = false;
            lbl_elapsed_time->clear();
            Lbl_delta_time->clear();
            return;
        }
        Field_time::Frame_record record;
        record.Heat_Start_Events = Replay_File.Start_HDMI_events(1);
        record.Frame_Events = Replay_File.Capture_HDMI_events();
        record.Heat_Start_mill = Replay_File.RGB_startmill();
        record.Frame_Capture_mill = Replay_File.KD3_Capture_mill();
        // Computed whole before anything is shown: an overflow leaves the labels as they were.
        const Field_time::Times times =
            Field_time::Compute(record, item_timing_framecount.Checked(), Replay_File.mill_per_frame(),
                                Replay_File.Interlaced(), Replay_File.Field_To_Show());
        const std::string elapsed = Non_dependant::Display_Mill_Time(times.Elapsed_Field_mill, false);
        const int64_t delta = int64_t{times.Elapsed_Field_mill} - Delta_Reference_Time;
        const std::string delta_text =
            delta < 0 ? "---" : Non_dependant::Display_Mill_Time(vb::To_Int32(delta), false);
        Times = times;
        Shown_Field_Time = times.Elapsed_Field_mill;
        Shown_Field_Time_Known = true;
        lbl_elapsed_time->setText(QString::fromStdString(elapsed));
        Lbl_delta_time->setText(QString::fromStdString(delta_text));
    });
}

std::string Frm_kanot_2::Sample_Data_Text() {
    cls_VideoFile_handler& f = Replay_File;
    auto time = [](int32_t mill) { return Non_dependant::Display_Mill_Time(mill, false); };
    auto number = [](int64_t value) { return std::to_string(value); };
    // The header's text as it stands when it holds no time of day.
    const std::string last_capture = f.Last_Capture_time();
    const std::string last = vb::Is_Numeric(last_capture) ? time(vb::CLng(vb::CDbl(last_capture))) : last_capture;
    const int32_t start_events = f.Start_HDMI_events(1);
    const int32_t frame_field = vb::To_Int32(int64_t{sys::Tick_Diff(f.KD3_Capture_mill(), f.RGB_startmill())} +
                                             (f.KD3_Displayed_Field() == 2 ? 20 : 0));
    const std::pair<const char*, std::string> lines[] = {
        {"Creation date = ", f.Creation_date()},
        {"Last capture = ", last},
        {"Quality = ", number(f.KD3_Compression_Quality())},
        {"JPG size = ", number(f.KD3_JPEG_Size())},
        {"Start HDMI events = ", number(start_events)},
        {"Start local = ", time(f.Start_local_Mill_Time(1))},
        {"Start mill = ", number(f.RGB_startmill())},
        {"Start mill-D = ", time(f.RGB_startmill())},
        {"Capture local = ", time(f.KD3_Capture_local())},
        {"Capture mill = ", number(f.KD3_Capture_mill())},
        {"Capture mill-D = ", time(f.KD3_Capture_mill())},
        {"Elpsd mill = ", number(Times.Elapsed_mill)},
        {"Elpsd mill frm = ", time(Times.Elapsed_mill)},
        {"Elpsd mill rounded = ", number(Times.Elapsed_Rounded_mill)},
        {"Elpsd rnd frm = ", time(Times.Elapsed_Rounded_mill)},
        {"Rounding mill = ", number(Times.Rounding_mill)},
        {"Capture HDMI events = ", number(f.Capture_HDMI_events())},
        {"Elapsed HDMI events = ", number(int64_t{f.Capture_HDMI_events()} - start_events)},
        {"HDMI events mill = ", number(Times.Elapsed_HDMI_events_mill)},
        {"HDMI events mill_d = ", time(Times.Elapsed_HDMI_events_mill)},
        {"HDMI events diff = ", number(int64_t{Times.Elapsed_HDMI_events_mill} - Times.Elapsed_mill)},
        {"Elpsd mill frm/field = ", time(frame_field)},
        {"Capture delta = ", number(f.KD3_Capture_Delta())},
        {"HD Frame  = ", number(f.KD3_Displayed_Frame())},
        {"HD Field  = ", number(f.KD3_Displayed_Field())},
    };
    std::string text;
    for (const auto& [label, value] : lines) text += (text.empty() ? "" : "\r\n") + std::string(label) + value;
    return text;
}

void Frm_kanot_2::Display_Sample_Data() {
    const std::string text = Sample_Data_Text();
    Picture_large->CurrentY(0.01 * Picture_large->ScaleHeight());
    Picture_large->FontName("Times");
    Picture_large->FontSize(16);
    gdi::SetTextColor(Picture_large->hDC(), 0x00FFFF);
    const int32_t top = vb::CInt(Picture_large->CurrentY());
    modAPIDraw::Draw_Rectangle_With_Pen_Brush(Picture_large->hDC(), {0, top},
                                              {vb::CInt(Picture_large->TextWidth(text)),
                                               vb::CInt(top + Picture_large->TextHeight(text))},
                                              0xFFFFFF, 8, 1, 0, 1, 0xFF0000);
    Picture_large->CurrentY(0.01 * Picture_large->ScaleHeight());
    Picture_large->CurrentX(0);
    Picture_large->Print(text);
}

void Frm_kanot_2::Save_Lanes() {
    if (!File_open()) return;
    for (size_t i = 0; i < Lane_Collection.size(); ++i)
        Replay_File.File_Lane_Pos(static_cast<int16_t>(i + 1), Lane_Collection[i].X(), Lane_Collection[i].Y());
}

void Frm_kanot_2::Lbl_delta_time_Click() {
    vb::Trap(Is_Compiled, "Lbl_delta_time_Click of Form frm_kanot_2", [this] {
        if (!File_open()) return;
        Delta_Reference_Time = Shown_Field_Time_Known ? Shown_Field_Time : 0;
        Update_Frame_Time();
    });
}

void Frm_kanot_2::Slider_play_KeyDown(int16_t KeyCode, int16_t Shift) {
    vb::Trap(Is_Compiled, "Slider_play_KeyDown of Form frm_kanot_2", [&] {
        int16_t n = -1;
        if (KeyCode >= 48 && KeyCode <= 57) n = KeyCode - 48;
        else if (KeyCode >= 96 && KeyCode <= 105) n = KeyCode - 96;
        else if (KeyCode >= 121 && KeyCode <= 123) n = KeyCode - 111;
        if (n < 0) return;
        if ((Shift & 4) != 0 || Non_dependant::Alt_Down()) {
            // The goal field of the place lane n holds.
            Set_Slider_Value(Go_to_Goal_field(Lane_To_Place(n)));
            Slider_play_Scroll();
            Set_Focus();
        } else if ((Shift & 2) != 0 || Non_dependant::Ctrl_Down()) {
            // The goal field of place n.
            Set_Slider_Value(Go_to_Goal_field(n));
            Slider_play_Scroll();
            Set_Focus();
        } else if (Course_Has_Lane(n)) {
            Attach_Time(n, 0, false);
        } else {
            // A stray key would place a boat the heat does not have, with no mark to clear it from.
            QApplication::beep();
        }
    });
}

// ---- the magnifier ----

void Frm_kanot_2::item_Zoom_Click() {
    vb::Trap(Is_Compiled, "item_zoom_Click of Form frm_kanot_2", [this] {
        // The click has turned the check mark already; with no file open it stays as it was.
        if (!File_open()) {
            item_zoom.Set_Checked(Zoom_Mode);
            return;
        }
        Zoom_Mode = item_zoom.Checked();
        if (!Zoom_Mode) unsetCursor();
        Slider_play_Scroll();
    });
}

void Frm_kanot_2::DO_RGB_Zoom() {
    const int16_t w = vb::CInt(Picture_large->ScaleWidth() * 0.5);
    const int16_t h = vb::CInt(w * 0.7);
    const int32_t left = vb::CLng(Zoom_X);
    const int32_t top = vb::CLng(Zoom_Y);
    Zoom_Rect = {vb::To_Int16(left), vb::To_Int16(top), w, h};
    Slider_play_Scroll();
    // The field is painted stretched across the picture: the source starts at the field pixel under the cursor.
    const Review_geometry::Point source = Video_Point(Zoom_X, Zoom_Y);
    const int32_t source_x = vb::CLng(source.X);
    const int32_t source_y = vb::CLng(source.Y);
    const int32_t source_w = vb::CLng(w / 2.0);
    if (Replay_File.RGB_Rotated()) {
        gdi::StretchBlt(Picture_large->hDC(), left, top, w, h, Replay_File.Rotated_HDC(), source_x, source_y, source_w,
                        h, gdi::SRCCOPY);
    } else {
        gdi::SetStretchBltMode(Picture_large->hDC(), gdi::HALFTONE);
        Halftone_Stretch(Picture_large->hDC(), left, top, w, h, Replay_File.DEint_HDC(), source_x, source_y, source_w, h);
    }
    if (Overlay_DIB().hDC())
        gdi::TransparentBlt(Picture_large->hDC(), left, top, w, h, Overlay_DIB().hDC(), source_x, source_y, source_w, h,
                            static_cast<gdi::COLORREF>(Transparent_Color));
    modAPIDraw::Draw_Rectangle_With_Pen_Brush(Picture_large->hDC(), {left, top}, {left + w, top + h}, 0xFFFFFF, 8, 1,
                                              0, 4, 0x10FFFF);
    Picture_large->Refresh();
}

void Frm_kanot_2::Refresh_picture() {
    vb::Trap(Is_Compiled, "Refresh_picture of Form frm_kanot_2", [this] {
        Replay_File.Draw_RGB_Field(Slider_play->value(), *Picture_large);
        if (!Zoom_Mode) return;
        // An unscaled block of a fifth of the picture's width, as high as it is wide.
        const int16_t cx = vb::CInt(Picture_large->ScaleWidth() * 0.2);
        const Review_geometry::Point source = Video_Point(Zoom_X, Zoom_Y);
        gdi::BitBlt(Picture_large->hDC(), vb::CLng(Zoom_X), vb::CLng(Zoom_Y), cx, cx, Replay_File.DEint_HDC(),
                    vb::CLng(source.X), vb::CLng(source.Y), gdi::SRCCOPY);
    });
}

void Frm_kanot_2::Picture_large_MouseMove(int16_t Button, int16_t, float X, float Y) {
    vb::Trap(Is_Compiled, "Picture_large_MouseMove of Form Frm_kanot_2", [&] {
        Picture_large_Last_X = X;
        Picture_large_Last_Y = Y;
        if (ui::Is_Loaded("Form_Auto_detect") && Form_Auto_detect::Instance().Visible()) Test_Pixel(X, Y);
        if (Button != 0 && Zoom_Mode) {
            if (Within_Zoom(X, Y)) setCursor(QCursor(QPixmap(":/cursor/MAGNIFY")));
            else unsetCursor();
        }
        if (Button == 1 && Zoom_Mode) {
            Zoom_X = X;
            Zoom_Y = Y;
            DO_RGB_Zoom();
        }
    });
}

void Frm_kanot_2::Picture_large_MouseUp(int16_t, int16_t, float, float) {
    vb::Trap(Is_Compiled, "Picture_large_MouseUp of Form frm_kanot_2", [this] {
        Set_Focus();
        Drag_Lane = -1;
        Current_Lane_Index = 0;
        if (!Zoom_Mode) {
            Selected_Goal_Handle = 0;
            Current_Lane = -1;
        }
    });
}

void Frm_kanot_2::P_Large_refresh() { Picture_large->Refresh(); }

void Frm_kanot_2::New_Graphics() {
    Draw_Graphics(true, false);
    Slider_play_Scroll();
    Set_Focus();
}

// ---- small display commands ----

void Frm_kanot_2::item_play_deinterlaced_Click() {
    vb::Trap(Is_Compiled, "item_play_deinterlaced_Click of Form frm_kanot_2", [this] {
        for (int32_t field = Slider_play->minimum(); field <= Slider_play->maximum(); ++field) {
            Set_Slider_Value(field);
            Slider_play_Scroll();
            // No events run in between: each field is painted as it is drawn.
            Picture_large->repaint();
        }
    });
}

void Frm_kanot_2::item_step_forward_Click() {
    // The last field stays shown.
    Set_Slider_Value(std::min(Slider_play->value() + 1, Slider_play->maximum()));
    Slider_play_Scroll();
}

void Frm_kanot_2::item_show_frame_Click() {
    vb::Trap(Is_Compiled, "item_show_frame_Click of Form frm_kanot_2", [this] {
        // The whole frame the shown field belongs to, through the older kinds' display.
        int32_t frame = vb::CLng(Slider_play->value() / 2.0);
        Replay_File.Draw_Frame(frame, Picture_large, 0, 0, nullptr, 0);
        P_Large_refresh();
    });
}

// ---- playback ----

void Frm_kanot_2::Cmd_play_Click() {
    if (Capture_Running || !File_open() || Playing()) return;
    Cmd_play->setEnabled(false);
    Play_Start_Tick = Non_dependant::Get_Mill_Time();
    Play_Frames = Replay_File.Num_Frames();
    Play_Frame = 0;
    Play_Previous_Known = false;
    lbl_elapsed_time->setText(QString(9, ' '));
    Timer_play.Set_Interval(1);
    Timer_play.Set_Enabled(true);
}

// One frame a tick; between ticks the window's events run, so the slider, keys and menus act during
// playback as they do at rest.
void Frm_kanot_2::Timer_play_Timer() {
    bool ended = false;
    // Nothing above a timer's tick could take an error, so playback always ends in its own message.
    vb::Trap_With(
        true,
        [&] {
            if (!File_open() || Play_Frame >= Play_Frames) {
                ended = true;
                return;
            }
            const int32_t i = ++Play_Frame;
            Replay_File.Read_RGB_sample(i, true);
            Replay_File.Draw_Current_RGB_frame(*Picture_large);
            Update_Frame_Time();
            if (Check_Timing && Shown_Field_Time_Known) {
                // Times compared as numbers: 10 s is later than 9 s.
                if (Play_Previous_Known && Shown_Field_Time <= Play_Previous_Time) {
                    QApplication::beep();
                    Set_Slider_Value(2 * i);
                    ended = true;
                    return;
                }
                Play_Previous_Time = Shown_Field_Time;
                Play_Previous_Known = true;
            }
            Draw_Graphics(true, false);
            P_Large_refresh();
            Set_Slider_Value(2 * i);
            Update_frm_label();
            const int16_t k = Non_dependant::First_Key_Down();
            if ((k > 0 && k != 115 && k != 44 && k != 116 && k != 17 && k != 102) || i >= Play_Frames) {
                ended = true;
                return;
            }
            const int32_t wait = Replay_File.mill_per_frame() * i -
                                 sys::Tick_Diff(Non_dependant::Get_Mill_Time(), Play_Start_Tick);
            Timer_play.Set_Interval(std::max(wait, 1));
        },
        [&](const VbError& e) {
            Timer_play.Set_Enabled(false);
            Cmd_play->setEnabled(true);
            ui::MsgBox("Error " + std::to_string(e.Number()) + " (" + e.Description() +
                           ") in procedure Cmd_play_Click of Form Frm_kanot_2",
                       ui::vbOKOnly);
        });
    if (ended) End_Playback();
}

void Frm_kanot_2::End_Playback() {
    Timer_play.Set_Enabled(false);
    Set_Focus();
    Slider_play_Scroll();
    Cmd_play->setEnabled(true);
}
