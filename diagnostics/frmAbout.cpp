#include "frmAbout.h"

#include "Module_capture.h"
#include "platform/vb/Error_trap.h"
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/controlbox/Interface_kit.h"
#include "platform/graphics/Graphics.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "resources/Resources.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"

#include "platform/ui/Dialog_service.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QUrl>

#include <algorithm>

using namespace Module_Vantorel;

namespace {

using ui::Place;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmAbout::frmAbout()
    : ui::Form("frmAbout"),
      Menu_bar(new QMenuBar(this)),
      Menu_Form(Menu_bar, "Form"),
      item_print(Menu_Form, "Print"),
      menu_debug(Menu_bar, "Debug"),
      item_date_formats(menu_debug, "Date formats"),
      Menu_sources(Menu_bar, "Sources"),
      item_video_sources(Menu_sources, "Video sources"),
      item_audio_sources(Menu_sources, "Audio sources") {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setMenuBar(Menu_bar);
    auto* client = new QWidget(this);
    client->setFixedSize(8000 / ui::Twips_Per_Pixel_X(), 6000 / ui::Twips_Per_Pixel_Y());
    layout->addWidget(client);
    QObject::connect(Menu_Form.Menu(), &QMenu::aboutToShow, this, [this] { Menu_Form_Click(); });
    item_print.On_Click([this] { item_print_Click(); });
    item_date_formats.On_Click([this] { item_date_formats_Click(); });
    Picture_company = Place(new QLabel(client), 120, 120, 1200, 1200);
    Lbldescription = Place(new QLabel(client), 1440, 240, 6400, 375);
    Picture_product = Place(new QLabel(client), 1440, 720, 3600, 1080);
    Frame_version = Place(new QGroupBox("Version info", client), 120, 1920, 7760, 1080);
    Lblversion = Place(new QLabel(Frame_version), 120, 300, 7500, 300);
    Lbl_filedate = Place(new QLabel(Frame_version), 120, 660, 7500, 300);
    Frame_technical = Place(new QGroupBox("Technical info", client), 120, 3120, 7760, 1680);
    Lbl_IP = Place(new QLabel(Frame_technical), 120, 300, 7500, 240);
    Lbl_pelkcap = Place(new QLabel(Frame_technical), 120, 560, 7500, 240);
    Label_phidget_version = Place(new QLabel(Frame_technical), 120, 820, 7500, 240);
    Lbl_fourcc = Place(new QLabel(Frame_technical), 120, 1080, 7500, 240);
    Lbl_PElkGraphics = Place(new QLabel(Frame_technical), 120, 1340, 7500, 240);
    Label_userapp = Place(new QLabel("User app data at:", client), 120, 4920, 6300, 600);
    Label_userapp->setCursor(Qt::PointingHandCursor);
    Label_userapp->installEventFilter(this);
    Picture_company->installEventFilter(this);
    Command_OK = Place(new ui::Command_button("Ok", client), 6600, 5040, 1095, 495);
    Command_OK->On_Click([this] { Command_OK_Click(); });
    for (QLabel* label : {Lblversion, Lbl_filedate, Lbl_IP, Lbl_pelkcap, Label_phidget_version, Lbl_fourcc,
                          Lbl_PElkGraphics, Lbldescription, Label_userapp})
        label->setTextFormat(Qt::PlainText);
}

void frmAbout::Form_Load() {
    Set_Caption("About " + Program_Name);
    for (QLabel* label : {Lblversion, Lbl_filedate, Lbl_fourcc, Lbl_pelkcap, Lbl_PElkGraphics, Label_phidget_version})
        label->clear();
    Lblversion->setText(Q(std::string("Version ") + VANTOREL_VERSION + ", Compile date: " + Build_Date));
    Lbldescription->setText(Q(Program_Name));
    if (Is_Compiled) Lbl_filedate->setText(Q(".exe Filedate = " + Non_dependant::FileDate()));
    Menu_sources.Set_Visible(false);
    menu_debug.Set_Visible(false);
}

void frmAbout::Picture_company_Click() {
    if (Non_dependant::Ctrl_Down()) Program_commands::Show_Review_Specials();
}

void frmAbout::Menu_Form_Click() {
    QCoreApplication::processEvents();
    menu_debug.Set_Visible(Non_dependant::Ctrl_Down());
}

void frmAbout::item_print_Click() {
    vb::Trap(Module_Vantorel::Is_Compiled, "item_print_Click of Form frmAbout", [this] { Module_capture::Print_Form(*this, "About"); });
}

std::string frmAbout::Date_Formats_Text() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return "date = " + locale.toString(now.date(), QLocale::ShortFormat).toStdString() + "\r\n" +
           "time = " + locale.toString(now.time(), QLocale::LongFormat).toStdString() + "\r\n" +
           "now = " + locale.toString(now, QLocale::ShortFormat).toStdString() + "\r\n" +
           "ISODate = " + Non_dependant::Date_Text() + "\r\n" + "ISOnow = " + Non_dependant::Now_Text() + "\r\n";
}

void frmAbout::item_date_formats_Click() { ui::MsgBox(Date_Formats_Text()); }

void frmAbout::Display_PelkGraphics() {
    // All 64 bytes: a text after a zero byte is shown too; the zero bytes themselves show as blanks.
    std::string text(graphics::BlendVersion(), 64);
    std::replace(text.begin(), text.end(), '\0', ' ');
    Lbl_PElkGraphics->setText(Q("PelkGraphics: " + text));
}

// Any failure leaves the label without a build number.
void frmAbout::Display_PelkCap() {
    std::string build;
    try {
        build = capturelib::Capture_Library_Object().Get_Property("buildNumber");
    } catch (...) {
    }
    Lbl_pelkcap->setText(Q("PelkCap: " + build));
}

void frmAbout::Display_Phidgets() {
    try {
        Label_phidget_version->setText(Q(controlbox::Interface_kit().Library_Version()));
    } catch (...) {
        Label_phidget_version->setText("No Phidget driver found");
    }
}

void frmAbout::Load_Product_Picture(const std::string& resource_id) {
    std::vector<uint8_t> bytes = resources::Load_Res_Data("bitmap", resource_id);
    QPixmap picture;
    picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size()));
    Picture_product->setPixmap(picture);
    Picture_product->resize(picture.size());
    Picture_product->move(Picture_product->parentWidget()->width() / 2 - Picture_product->width() / 2, Picture_product->y());
    Picture_product->update();
}

void frmAbout::appdata(const std::string& folder) { Label_userapp->setText(Q("User appdata at: \r\n" + folder)); }

void frmAbout::Command_OK_Click() { Hide(); }

void frmAbout::Label_userapp_Click() {
    std::string text = Label_userapp->text().toStdString();
    size_t line_break = text.find("\r\n");
    if (line_break == std::string::npos) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(text.substr(line_break + 2))));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label_userapp && event->type() == QEvent::MouseButtonRelease) Label_userapp_Click();
    if (watched == Picture_company && event->type() == QEvent::MouseButtonRelease) Picture_company_Click();
    return ui::Form::eventFilter(watched, event);
}
