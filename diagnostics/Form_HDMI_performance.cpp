#include "Form_HDMI_performance.h"

#include "Module_capture.h"
#include "platform/vb/Error_trap.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Vb_convert.h"
#include "results/modCloseBtn.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QVBoxLayout>

using namespace Module_Vantorel;
using ui::Place;

namespace {

QLabel* Text_Label(const char* caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The plot's ground: the lines and columns stand out on it.
const QColor Plot_Ground(48, 48, 48);

}  // namespace

Form_HDMI_performance::Form_HDMI_performance()
    : ui::Form("Form_HDMI_performance"),
      Menu_bar(new QMenuBar(this)),
      Menu_form(Menu_bar, "Form"),
      item_copy(Menu_form, "Copy to Clipboard"),
      item_print(Menu_form, "Print Form"),
      Menu_debug(Menu_bar, "Debug"),
      item_random_delta(Menu_debug, "Random Delta") {
    // Hints of its own: taking the close button away then leaves the caption and the other buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(Menu_bar);
    auto* client = new QWidget(this);
    client->setFixedSize(9600 / ui::Twips_Per_Pixel_X(), 6600 / ui::Twips_Per_Pixel_Y());
    layout->addWidget(client);

    Picture_Scale = Place(new QLabel(client), 120, 120, 360, 2400);
    Picture_Delta_Scroll = Place(new QLabel(client), 480, 120, 9000, 2400);
    for (QLabel* box : {Picture_Scale, Picture_Delta_Scroll}) box->setAutoFillBackground(true);
    QPalette ground = Picture_Scale->palette();
    ground.setColor(QPalette::Window, Plot_Ground);
    Picture_Scale->setPalette(ground);
    Picture_Delta_Scroll->setPalette(ground);

    Frame_performance = Place(new QGroupBox("HDMI Performance", client), 120, 2640, 4560, 1080);
    Label_header = Place(Text_Label("Received    Calculated   Lost", Frame_performance), 120, 300, 4300, 300);
    Label_Frames_received = Place(Text_Label("", Frame_performance), 120, 660, 1300, 300);
    Label_frames_Calculated = Place(Text_Label("", Frame_performance), 1560, 660, 1300, 300);
    Label_frames_lost = Place(Text_Label("", Frame_performance), 3000, 660, 1300, 300);
    Label_frames_lost->setStyleSheet("color: rgb(255, 0, 0)");
    Label_frames_lost->setToolTip("Click to reset the counters");
    Label_frames_lost->installEventFilter(this);

    Place(Text_Label("Video Source/Property", client), 120, 3840, 4560, 240);
    Label_prop = Place(Text_Label("", client), 120, 4080, 4560, 300);
    Place(Text_Label("Actual sample dimensions, fps", client), 120, 4500, 4560, 240);
    Label_HDMI_dimensions = Place(Text_Label("", client), 120, 4740, 4560, 300);
    Place(Text_Label("Windows version", client), 4920, 2700, 4560, 240);
    Label_Windows_version = Place(Text_Label("", client), 4920, 2940, 4560, 540);
    Place(Text_Label("Pc info", client), 4920, 3600, 4560, 240);
    Lbl_PC_info = Place(Text_Label("", client), 4920, 3840, 4560, 780);
    Lbl_PC_info->setWordWrap(true);

    Command_copy_to_clipboard = Place(new ui::Command_button("Copy form to Clipboard", client), 120, 5520, 2520, 495);
    Command_Print_Form = Place(new ui::Command_button("Print Form", client), 2880, 5520, 2040, 495);
    Command_Hide_Me = Place(new ui::Command_button("Hide  Form", client), 7440, 5520, 2040, 495);
    Command_copy_to_clipboard->On_Click([this] { Command_copy_to_clipboard_Click(); });
    Command_Print_Form->On_Click([this] { Command_Print_Form_Click(); });
    Command_Hide_Me->On_Click([this] { Command_Hide_Me_Click(); });

    item_copy.Action()->setShortcut(QKeySequence("Ctrl+C"));
    item_print.Action()->setShortcut(QKeySequence("Ctrl+P"));
    for (const ui::Menu_item& item : {item_copy, item_print}) addAction(item.Action());
    item_copy.On_Click([] { Non_dependant::Print_Screen(); });
    item_print.On_Click([this] { Command_Print_Form_Click(); });
    item_random_delta.On_Click([this] { Random_Delta_Click(); });
    Menu_debug.Set_Visible(!Is_Compiled);

    Timer_delta.setInterval(40);
    connect(&Timer_delta, &QTimer::timeout, this,
            [this] { Plot_Delta(vb::CLng(40 + 30 * QRandomGenerator::global()->generateDouble())); });
    poll_timer_.setInterval(10);
    connect(&poll_timer_, &QTimer::timeout, this, [this] { Poll(); });

    plot_ = QImage(Picture_Delta_Scroll->size(), QImage::Format_RGB32);
    plot_.fill(Plot_Ground);
    Show_Plot();
}

void Form_HDMI_performance::Plot_Delta(int32_t Delta) {
    const int w = plot_.width(), h = plot_.height();
    // One pixel to the left: the rightmost column is free for this frame.
    QImage scrolled(plot_.size(), plot_.format());
    scrolled.fill(Plot_Ground);
    {
        QPainter painter(&scrolled);
        painter.drawImage(0, 0, plot_, 1, 0, w - 1, h);
    }
    plot_ = std::move(scrolled);
    {
        QPainter painter(&plot_);
        painter.setPen(QPen(QColor(0, 0, 255), 1));
        // Cut at the top edge.
        const int top = std::max(h - 1 - std::max(Delta, 0), 0);
        painter.drawLine(w - 1, h - 1, w - 1, top);
    }
    Draw_lines();
}

void Form_HDMI_performance::Draw_lines() {
    const int w = plot_.width(), h = plot_.height();
    {
        QPainter painter(&plot_);
        painter.setPen(QPen(QColor(255, 255, 0), 2));
        for (int ms : {40, 80}) painter.drawLine(text_width_ + 2, h - ms, w, h - ms);
    }
    Show_Plot();
}

void Form_HDMI_performance::Show_Plot() { Picture_Delta_Scroll->setPixmap(QPixmap::fromImage(plot_)); }

void Form_HDMI_performance::Plot_Lines() {
    QFont font("Times");
    font.setPointSize(10);
    const QFontMetrics metrics(font);
    text_width_ = metrics.horizontalAdvance("40");
    text_height_ = metrics.height();
    QImage scale(Picture_Scale->size(), QImage::Format_RGB32);
    scale.fill(Plot_Ground);
    QPainter painter(&scale);
    painter.setFont(font);
    painter.setPen(QColor(0, 255, 255));
    const int h = plot_.height();
    for (int ms : {40, 80})
        painter.drawText(QRect(1, h - ms - text_height_ / 2, scale.width() - 1, text_height_),
                         Qt::AlignLeft | Qt::AlignTop, QString::number(ms));
    painter.end();
    Picture_Scale->setPixmap(QPixmap::fromImage(scale));
}

void Form_HDMI_performance::Reset_Counters() { counter_.Reset(sys::timeGetTime()); }

void Form_HDMI_performance::HDMI_event(int32_t, int32_t Delta) {
    const Frame_arrival_counter::Counts counts = counter_.Frame(sys::timeGetTime());
    Plot_Delta(Delta);
    Label_Frames_received->setText(QString::number(counts.received));
    Label_frames_Calculated->setText(QString::number(counts.expected));
    Label_frames_lost->setText(QString::number(counts.lost));
    Frame_performance->repaint();
}

void Form_HDMI_performance::Show_Properties(const std::string& Text) { Label_prop->setText(QString::fromStdString(Text)); }

void Form_HDMI_performance::HDMI_Dimensions(const std::string& Text) {
    Label_HDMI_dimensions->setText(QString::fromStdString(Text));
}

void Form_HDMI_performance::Feed_From(Frame_source source) {
    source_ = std::move(source);
    poll_.Restart();
    if (isVisible() && source_) poll_timer_.start();
}

void Form_HDMI_performance::Poll() {
    if (Is_Exiting || !source_) return;
    const std::optional<Frame_arrival_poll::Reading> reading = source_();
    if (!reading) {
        poll_.Restart();
        return;
    }
    for (int32_t delta : poll_.New_Frames(*reading)) HDMI_event(reading->last_tick, delta);
}

// At the screen's top-left corner, caption included, out of the console's way. The close box goes before
// the window is first shown: taking it from a shown window makes the window lose its frame's place.
void Form_HDMI_performance::Form_Load() {
    modCloseBtn::Enable_Close_Button(this, false);
    Move(0, 0);
}

void Form_HDMI_performance::Form_Activate() {
    Plot_Lines();
    // Only "Hide  Form", the console's menu item or the program's exit take the window away.
    modCloseBtn::Enable_Close_Button(this, false);
    Set_Caption("HDMI performance " + Program_Name + " " + Program_Version + " " + Non_dependant::Now_Text());
    Label_Windows_version->setText(QString::fromStdString(OS_Version + "\n" + "CPU = " + CPU_Bitness + " OS = " + OS_Bitness));
    Lbl_PC_info->setText(QString::fromStdString(g_Computer_Name + " " + CPU_Info + "  " + Phys_RAM));
    if (Is_Compiled) Menu_debug.Set_Visible(false);
}

void Form_HDMI_performance::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    // Frames are counted only while the window is shown.
    poll_.Restart();
    if (source_) poll_timer_.start();
}

void Form_HDMI_performance::hideEvent(QHideEvent* event) {
    poll_timer_.stop();
    ui::Form::hideEvent(event);
}

void Form_HDMI_performance::Form_Unload(int16_t&) {
    Timer_delta.stop();
    poll_timer_.stop();
}

bool Form_HDMI_performance::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label_frames_lost && event->type() == QEvent::MouseButtonRelease) Label_frames_lost_Click();
    return ui::Form::eventFilter(watched, event);
}

void Form_HDMI_performance::Label_frames_lost_Click() { Reset_Counters(); }

void Form_HDMI_performance::Random_Delta_Click() {
    item_random_delta.Set_Checked(!item_random_delta.Checked());
    if (item_random_delta.Checked())
        Timer_delta.start();
    else
        Timer_delta.stop();
}

void Form_HDMI_performance::Command_copy_to_clipboard_Click() {
    const QImage image = Module_capture::Form_Image(*this);
    ui::Clipboard::Clear();
    ui::Clipboard::Set_Data(image);
}

void Form_HDMI_performance::Command_Print_Form_Click() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Command_Print_Form_Click of Form Form_HDMI_performance", [this] { Module_capture::Print_Form(*this, "HDMI performance"); });
}

void Form_HDMI_performance::Command_Hide_Me_Click() {
    if (Hide_HDMI_performance)
        Hide_HDMI_performance();
    else
        Hide();
}
