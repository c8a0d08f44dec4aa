#include "Cls_lane.h"

#include "Module_Vantorel_overlay.h"
#include "imaging/modAPIDraw.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"

#include <string>

namespace {

constexpr int32_t No_Result = 999999999;
constexpr int32_t First_Status = 100000001;
constexpr int32_t Red = 0x0000FF;
constexpr int32_t Blue = 0xFF0000;
constexpr int32_t White = 0xFFFFFF;
constexpr int32_t Grey_Fill = 0xC8C8C8;  // 200, 200, 200
constexpr int32_t Grey_Line = 0x787878;  // 120, 120, 120

}  // namespace

void Cls_lane::Clear_Rank() {
    time_ = 0;
    click_time_ = 0;
    Field_ = 0;
}

bool Cls_lane::Within(float x, float y) const {
    const float half = 12.5f;
    return static_cast<float>(X_) - half < x && x < static_cast<float>(X_) + half &&
           static_cast<float>(Y_) - half < y && y < static_cast<float>(Y_) + half;
}

void Cls_lane::Draw_lane(gdi::Device_context* hDC, bool flipped) {
    gdi::Device_context* text_dc = Module_Vantorel::Overlay_DIB().hDC();
    const int32_t L = vb::CLng(X_ - 12.5);
    const int32_t T = vb::CLng(Y_ - 12.5);
    Pt_From = {L, T};
    Pt_To = {L + 25, T + 25};
    const gdi::Rect text_box{L, T + 2, L + 25, T + 25};

    int32_t brush = White;
    int32_t pen = 0;
    if (time_ == 0 || time_ == No_Result) {
        gdi::SetBkMode(text_dc, gdi::TRANSPARENT);
        brush = Grey_Fill;
        pen = Grey_Line;
        gdi::SetTextColor(text_dc, Grey_Line);
    }
    if (time_ > 0 && time_ < No_Result) {
        gdi::SetTextColor(text_dc, Blue);
        pen = Blue;
    }
    if (time_ >= First_Status && time_ < No_Result) {
        gdi::SetTextColor(text_dc, Red);
        pen = Red;
    }
    modAPIDraw::Draw_Ellipse_With_Pen_Brush(hDC, Pt_From, Pt_To, brush, 8, 0, 0, 2, pen);
    gdi::SetBkColor(text_dc, White);

    const std::string text = std::to_string(Lane_number_);
    const bool one_character = text.size() == 1;
    gdi::Font* font = gdi::CreateFontA(one_character ? 18 : 14, one_character ? 8 : 6, 0, 0, 600, false, false,
                                       false, 1, 0, 0, 2, 0, "Arial");
    gdi::Gdi_object* previous = gdi::SelectObject(text_dc, font);
    gdi::DrawTextA(text_dc, text, text_box, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    gdi::SelectObject(text_dc, previous);
    gdi::DeleteObject(font);

    const int32_t x0 = vb::CLng(Pt_To.X - 12.5);
    Pt_To = {x0, T + 25};
    const int32_t length = Module_Vantorel::Lane_Line_Length;
    Pt_From = {flipped ? x0 - length : x0 + length, T + 25};
    Do_DrawDCLine_lane(hDC);
    Pt_From.Y -= 1;
    Pt_To.Y -= 1;
    Do_DrawDCLine_lane(hDC);
    Pt_From.Y += 2;
    Pt_To.Y += 2;
    Do_DrawDCLine_lane(hDC);
}

void Cls_lane::Do_DrawDCLine_lane(gdi::Device_context* hDC) {
    modAPIDraw::Draw_Line_With_Pen(hDC, Pt_From, Pt_To, 2, 1, Red);
}
