#include "Form_KD3_Timing.h"

#include "Module_capture.h"
#include "platform/vb/Error_trap.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "store/cls_VideoFile_handler.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

using namespace Module_Vantorel;
using ui::Place;

namespace {

QLabel* Boxed_Label(QWidget* parent, const char* colour = nullptr) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFrameShape(QFrame::Box);
    label->setWordWrap(true);
    if (colour) label->setStyleSheet(QString("color: %1").arg(colour));
    return label;
}

}  // namespace

Form_KD3_Timing::Form_KD3_Timing() : ui::Form("Form_KD3_Timing") {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(10560 / ui::Twips_Per_Pixel_X(), 7350 / ui::Twips_Per_Pixel_Y());
    Set_Caption("KD3 File timing histogram");
    QFont bold = font();
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    setFont(bold);

    Frame_filedata = Place(new QGroupBox("File data", this), 240, 120, 8655, 1575);
    Label_filename = Place(Boxed_Label(Frame_filedata, "rgb(0, 0, 255)"), 120, 360, 8175, 615);
    Label_File_info = Place(Boxed_Label(Frame_filedata), 120, 1080, 4935, 375);
    Frame_writing_computer = Place(new QGroupBox("Writing computer info", this), 240, 1800, 7575, 1935);
    Label_CPU_info = Place(Boxed_Label(Frame_writing_computer, "rgb(0, 0, 255)"), 120, 360, 4935, 375);
    Label_bitness = Place(Boxed_Label(Frame_writing_computer), 120, 840, 4935, 375);
    Label_Capture_iNFO = Place(Boxed_Label(Frame_writing_computer), 120, 1320, 4935, 375);
    Picture_timing = Place(new QLabel(this), 240, 4320, 7335, 2175);
    Label_printdata = Place(new QLabel(this), 240, 6720, 10815, 375);
    Label_printdata->setTextFormat(Qt::PlainText);
    Command_Clipboard = Place(new ui::Command_button("To Clipboard", this), 8520, 1920, 1575, 495);
    Command_Print = Place(new ui::Command_button("Print", this), 8520, 2760, 1575, 495);
    Command_HIde_Form = Place(new ui::Command_button("Hide Form", this), 8520, 3480, 1575, 495);
    Command_Clipboard->On_Click([this] { Command_Clipboard_Click(); });
    Command_Print->On_Click([this] { Command_Print_Click(); });
    Command_HIde_Form->On_Click([this] { Command_HIde_Form_Click(); });

    Timing_picture = QImage(Picture_timing->size(), QImage::Format_RGB32);
    Timing_picture.fill(QColor(192, 255, 192));
    Picture_timing->setPixmap(QPixmap::fromImage(Timing_picture));
}

Interval_histogram Form_KD3_Timing::Count_Intervals(cls_VideoFile_handler& file) {
    Interval_histogram histogram;
    const int32_t frames = file.Num_Frames();
    for (int32_t frame = 1; frame <= frames; ++frame) {
        file.Read_RGB_sample(frame, false);
        histogram.Add(file.KD3_Capture_Delta());
    }
    return histogram;
}

void Form_KD3_Timing::Timing_Analyze(cls_VideoFile_handler& file, const std::string& frame_size) {
    if (!file.File_open()) {
        QApplication::beep();
        return;
    }
    const Interval_histogram histogram = Count_Intervals(file);
    Form_KD3_Timing& report = Instance();
    report.Show(ui::vbModeless);
    report.Draw_Histogram(histogram);
    report.Label_filename->setText(QString::fromStdString(file.File_name()));
    report.Label_CPU_info->setText(QString::fromStdString(file.Computer_name() + " " + file.Computer_CPUInfo()));
    report.Label_File_info->setText(
        QString::fromStdString(std::to_string(file.KD3_Num_Frames()) + " frames, " + frame_size + " pixels"));
    report.Label_Capture_iNFO->setText(QString::fromStdString(file.Capture_Info()));
    report.Label_bitness->setText(QString::fromStdString("CPU: " + file.CPU_bitness() + " OS:" + file.OS_bitness()));
    report.Label_printdata->setText(QString::fromStdString("Report at: " + Non_dependant::Now_Text() + " by " +
                                                           Program_Name + " " + Program_Version + "(" + Build_Date + ")"));
}

void Form_KD3_Timing::Draw_Histogram(const Interval_histogram& histogram) {
    const int w = Timing_picture.width(), h = Timing_picture.height();
    QPainter painter(&Timing_picture);
    painter.fillRect(QRect(0, h - 16, w, 16), Qt::white);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(0, h - 18, w, h - 18);
    painter.setPen(QPen(QColor(0, 0, 255), 4, Qt::SolidLine, Qt::FlatCap));
    for (int k = 0; k <= Interval_histogram::Last; ++k)
        if (histogram.Count(k) > 0) painter.drawLine(4 * k, h - 20, 4 * k, h - 20 - histogram.Bar_Length(k, h - 20));
    painter.setPen(QPen(QColor(255, 0, 0), 1, Qt::DashLine));
    for (int ms : {20, 40, 80}) painter.drawLine(4 * ms, h, 4 * ms, h / 2);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const int text_top = static_cast<int>(0.9 * h);
    for (int ms : {20, 40, 80})
        painter.drawText(QRect(4 * ms, text_top, 40, h - text_top), Qt::AlignLeft | Qt::AlignTop, QString::number(ms));
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, w, 30), Qt::AlignLeft | Qt::AlignTop, " " + QString::number(histogram.Max()));
    painter.end();
    Picture_timing->setPixmap(QPixmap::fromImage(Timing_picture));
}

void Form_KD3_Timing::Command_Clipboard_Click() {
    const QImage image = Module_capture::Form_Image(*this);
    ui::Clipboard::Clear();
    ui::Clipboard::Set_Data(image);
}

void Form_KD3_Timing::Command_Print_Click() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Command_Print_Click of Form Form_KD3_Timing", [this] { Module_capture::Print_Form(*this, "KD3 timing"); });
}

void Form_KD3_Timing::Command_HIde_Form_Click() { Unload(); }
