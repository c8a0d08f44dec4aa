#include "Frm_export.h"

#include "platform/fs/File_system.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/VbError.h"
#include "results/Module_Vantorel_export.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using ui::Place;

namespace {

// The exported pictures are for looking at: a quality that shows no blocks.
constexpr int32_t Export_Quality = 90;

}  // namespace

Frm_export::Frm_export() : ui::Form("Frm_export") {
    setFixedSize(3600 / ui::Twips_Per_Pixel_X(), 1800 / ui::Twips_Per_Pixel_Y());
    Set_Caption("Export");
    setMouseTracking(true);
    Place(new QLabel("Inpoint", this), 120, 120, 1200, 300);
    Place(new QLabel("Outpoint", this), 120, 600, 1200, 300);
    Lbl_inpoint = Place(new QLabel(this), 1440, 120, 1800, 300);
    Lbl_outpoint = Place(new QLabel(this), 1440, 600, 1800, 300);
    for (QLabel* label : {Lbl_inpoint, Lbl_outpoint}) {
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Box);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    Cmd_export = Place(new ui::Command_button("Export", this), 120, 1080, 1575, 495);
    Cmd_export->On_Click([this] { Cmd_export_Click(); });
}

void Frm_export::Form_Load() {
    int32_t left = 0, top = 0, width = 0, height = 0;
    Module_dependant::Get_Form_Pos(Name(), left, top, width, height);
    Move(left, top);
}

void Frm_export::Form_QueryUnload(int16_t&, int16_t) { Module_dependant::Store_Form_Pos(Name(), Left(), Top(), 0, 0); }

void Frm_export::mouseMoveEvent(QMouseEvent* event) {
    if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    ui::Form::mouseMoveEvent(event);
}

bool Frm_export::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Lbl_inpoint) Lbl_inpoint_Click();
        if (watched == Lbl_outpoint) Lbl_outpoint_Click();
    }
    return ui::Form::eventFilter(watched, event);
}

void Frm_export::Lbl_inpoint_Click() {
    if (!Review.Slider_value) return;
    Lbl_inpoint->setText(QString::number(Review.Slider_value()));
    if (Review.Set_Focus) Review.Set_Focus();
}

void Frm_export::Lbl_outpoint_Click() {
    if (!Review.Slider_value) return;
    Lbl_outpoint->setText(QString::number(Review.Slider_value()));
    if (Review.Set_Focus) Review.Set_Focus();
}

std::string Frm_export::Export_File_Name(const std::string& heat, int32_t field) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", field);
    return Module_Vantorel::AppData_Folder + "/kanottest/Heat" + fs::Portable_File_Name(heat) + "_" + number + ".jpg";
}

void Frm_export::Save_Jpeg(const std::string& file_name, const QImage& picture) {
    if (picture.isNull()) vb::Raise(vb::Err_Invalid_Call, "No picture to save as " + file_name);
    // The codec takes bottom-up blue-green-red rows.
    const QImage rows = picture.convertToFormat(QImage::Format_BGR888).mirrored(false, true);
    std::vector<uint8_t> stream(static_cast<size_t>(jpeg::Max_Stream_Size(rows.width(), rows.height())));
    uint64_t size = stream.size();
    if (jpeg::Encode(rows.constBits(), rows.width(), static_cast<int32_t>(rows.bytesPerLine()), rows.height(),
                     Export_Quality, stream.data(), size) != 0)
        vb::Raise(vb::Err_Invalid_Call, "The picture for " + file_name + " cannot be encoded: " + jpeg::Last_Error_Text());
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file_name).parent_path(), ignored);
    std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(size));
    file.close();
    if (!file) {
        std::filesystem::remove(file_name, ignored);
        vb::Raise(75, "Path/File access error: " + file_name);
    }
}

void Frm_export::Cmd_export_Click() {
    const std::string heat = Module_Vantorel::Heat_number_from_Filename(Review.File_name ? Review.File_name() : "");
    if (Lbl_inpoint->text().isEmpty() || Lbl_outpoint->text().isEmpty() || !Review.Show_Field) {
        QApplication::beep();
        return;
    }
    const int16_t in = vb::CInt(Lbl_inpoint->text().toStdString());
    const int16_t out = vb::CInt(Lbl_outpoint->text().toStdString());
    for (int32_t i = in; i <= out; ++i) {
        Review.Show_Field(i);
        Save_Jpeg(Export_File_Name(heat, i), Review.Shown_Picture());
    }
}
