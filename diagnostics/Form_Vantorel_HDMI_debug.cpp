#include "Form_Vantorel_HDMI_debug.h"

#include "Module_capture.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QLabel>

using namespace Module_Vantorel;
using ui::Place;

Form_Vantorel_HDMI_debug::Form_Vantorel_HDMI_debug() : ui::Form("Form_Vantorel_HDMI_debug") {
    setFixedSize(6600 / ui::Twips_Per_Pixel_X(), 3720 / ui::Twips_Per_Pixel_Y());
    Set_Caption("Vantorel HDMI debug");
    Label_version = Place(new QLabel(this), 120, 120, 6360, 300);
    struct Row {
        const char* caption;
        QLabel** value;
        const char* colour;
    };
    const Row rows[] = {
        {"Largest seen JPG", &Label_max_dircomp_size, "rgb(0, 0, 255)"},
        {"Smallest seen JPG", &Label_min_dircomp_size, "rgb(192, 0, 0)"},
        {"Average JPG", &Label_Average_JPG_size, "rgb(192, 0, 0)"},
        {"Number of HDMI:s", &Label_num_direct_comp, "rgb(0, 0, 255)"},
        {"Measured fps", &Label_fps, "rgb(255, 0, 255)"},
    };
    int32_t top = 540;
    for (const Row& row : rows) {
        Place(new QLabel(row.caption, this), 120, top, 2400, 300);
        *row.value = Place(new QLabel(this), 2640, top, 2400, 300);
        (*row.value)->setStyleSheet(QString("color: %1; font-weight: bold").arg(row.colour));
        top += 420;
    }
    for (QLabel* label : findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    Command_form_to_Clipboard = Place(new ui::Command_button("Form to Clipboard", this), 120, 2760 + 120, 2400, 495);
    Command_form_to_Clipboard->On_Click([this] { Command_form_to_Clipboard_Click(); });
    poll_timer_.setInterval(200);
    connect(&poll_timer_, &QTimer::timeout, this, [this] { Poll(); });
}

void Form_Vantorel_HDMI_debug::Form_Load() {
    Label_version->setText(QString::fromStdString("JPG performance " + Program_Name + " " + Program_Version + " " +
                                                  Non_dependant::Now_Text()));
    Centre_On(nullptr);
}

void Form_Vantorel_HDMI_debug::Show_Statistics(const Statistics& s) {
    Label_max_dircomp_size->setText(QString::number(s.largest));
    Label_min_dircomp_size->setText(QString::number(s.smallest));
    Label_num_direct_comp->setText(QString::number(s.compressions));
    Label_Average_JPG_size->setText(QString::number(s.compressions > 0 ? vb::CLng(s.total_bytes / s.compressions) : 0));
    Label_fps->setText(QString::number(vb::CLng(s.fps)));
}

void Form_Vantorel_HDMI_debug::Feed_From(Statistics_source source) {
    source_ = std::move(source);
    if (isVisible() && source_) poll_timer_.start();
}

void Form_Vantorel_HDMI_debug::Poll() {
    if (Is_Exiting || !source_) return;
    if (const std::optional<Statistics> statistics = source_()) Show_Statistics(*statistics);
}

void Form_Vantorel_HDMI_debug::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    if (source_) {
        Poll();
        poll_timer_.start();
    }
}

void Form_Vantorel_HDMI_debug::hideEvent(QHideEvent* event) {
    poll_timer_.stop();
    ui::Form::hideEvent(event);
}

void Form_Vantorel_HDMI_debug::Command_form_to_Clipboard_Click() {
    vb::Trap(Is_Compiled, "Command_form_to_Clipboard_Click of Form Form_Vantorel_HDMI_debug", [this] {
        const QImage image = Module_capture::Form_Image(*this);
        ui::Clipboard::Clear();
        ui::Clipboard::Set_Data(image);
        Non_dependant::Do_Sleep(500, true);
    });
}
