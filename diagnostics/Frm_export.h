#pragma once
// The frame export: an in point and an out point among the fields of the heat shown in the review
// window, and "Export", which shows every field between them in the review window and writes the shown
// picture as a JPEG file into the folder "kanottest" of the application-data folder.
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>

class QLabel;

class Frm_export : public ui::Form {
public:
    // What the export uses of the review window; the review window sets it before showing this one.
    struct Review_window {
        std::function<int32_t()> Slider_value;
        // Sets the slider to the field and shows it.
        std::function<void(int32_t)> Show_Field;
        std::function<std::string()> File_name;
        std::function<QImage()> Shown_Picture;
        std::function<void()> Set_Focus;
    };

    static Frm_export& Instance() { return ui::Instance_Of<Frm_export>(); }
    Frm_export();

    Review_window Review;

    // "<application-data folder>/kanottest/Heat<heat>_<field, at least four digits>.jpg".
    static std::string Export_File_Name(const std::string& heat, int32_t field);
    // Writes the picture as a JPEG file, making its folder when missing; raises the file error when the
    // file cannot be written.
    static void Save_Jpeg(const std::string& file_name, const QImage& picture);

    void Lbl_inpoint_Click();
    void Lbl_outpoint_Click();
    void Cmd_export_Click();

    QLabel* Lbl_inpoint;
    QLabel* Lbl_outpoint;
    ui::Command_button* Cmd_export;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
