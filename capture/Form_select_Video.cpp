#include "Form_select_Video.h"

#include "Form_capture_multi_file.h"
#include "Module_HDMI_Support.h"
#include "platform/capturelib/Capture_Library_Object.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Place.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>

using namespace Module_Vantorel;
using ui::Place;

namespace {

constexpr const char* CrLf = "\r\n";
enum Column { col_srcnum, col_source, col_propnum, col_prop };

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QLabel* Value_Label(QWidget* parent) {
    auto* label = new QLabel("0", parent);
    label->setFrameShape(QFrame::Box);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet("color: #0000FF;");
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

Form_select_Video::Form_select_Video()
    : ui::Form("Form_select_Video"),
      Menu_bar(new QMenuBar(this)),
      Menu_form(Menu_bar, "Form"),
      item_copy_to_clipboard(Menu_form, "Form capture to ClipBoard"),
      item_iterate(Menu_form, "List contents to ClipBoard"),
      Menu_debug(Menu_bar, "Debug"),
      item_show_selection(Menu_debug, "Show firendlyname & property") {
    Set_Caption("Select HDMI Video Source");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(Menu_bar);
    auto* client = new QWidget(this);
    client->setFixedSize(9780 / ui::Twips_Per_Pixel_X(), 6855 / ui::Twips_Per_Pixel_Y());
    layout->addWidget(client);

    ListView_prop = Place(new QTreeWidget(client), 360, 240, 8535, 3855);
    ListView_prop->setRootIsDecorated(false);
    ListView_prop->setFrameShape(QFrame::Box);
    ListView_prop->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(ListView_prop, &QTreeWidget::itemClicked,
                     [this](QTreeWidgetItem* item, int) { ListView_prop_ItemClick(item); });

    Frame_selection = Place(new QGroupBox("Selection", client), 360, 4320, 5520, 2280);
    Place(new QLabel("Source name", Frame_selection), 120, 300, 3240, 240);
    Label_selected_friendly = Place(Value_Label(Frame_selection), 120, 540, 3240, 330);
    Place(new QLabel("Source num", Frame_selection), 3600, 300, 1680, 240);
    Label_video_source = Place(Value_Label(Frame_selection), 3600, 540, 1680, 330);
    Place(new QLabel("Property", Frame_selection), 120, 1200, 3240, 240);
    Label_property_string = Place(Value_Label(Frame_selection), 120, 1440, 3240, 330);
    Place(new QLabel("Property num", Frame_selection), 3600, 1200, 1680, 240);
    Label_property_num = Place(Value_Label(Frame_selection), 3600, 1440, 1680, 330);

    Command_enum2 = Place(new ui::Command_button("Enumerate Video sources", client), 6240, 4440, 2655, 495);
    Command_select_done = Place(new ui::Command_button("Select Done", client), 6240, 5160, 2655, 495);
    Command_Cancel = Place(new ui::Command_button("Cancel", client), 6240, 5880, 2655, 495);
    Command_enum2->On_Click([this] { Command_enum2_Click(); });
    Command_select_done->On_Click([this] { Command_select_done_Click(); });
    Command_Cancel->On_Click([this] { Command_Cancel_Click(); });

    item_copy_to_clipboard.On_Click([] { Non_dependant::Print_Screen(); });
    item_iterate.On_Click([this] { Iter2(); });
    item_show_selection.On_Click([] { ui::MsgBox(""); });
}

void Form_select_Video::Form_Load() {
    if (Is_Exiting) return;
    ListView_prop->clear();
    ListView_prop->setColumnCount(4);
    ListView_prop->setHeaderLabels({"Sn", "Video Source", "Pn", "Properties"});
    const int32_t widths[] = {400, 3500, 400, 2000};
    for (int c = col_srcnum; c <= col_prop; ++c) ListView_prop->setColumnWidth(c, widths[c] / ui::Twips_Per_Pixel_X());
    Menu_debug.Set_Visible(!Is_Compiled);
    m_was_Cancelled = false;
    // The sources are listed at once: an empty list looks like a machine without a camera.
    Command_enum2_Click();
}

void Form_select_Video::Form_Activate() { m_was_Cancelled = false; }

void Form_select_Video::Command_enum2_Click() {
    Do_Enum();
    Do_Select();
}

std::string Form_select_Video::Get_Prop(capturelib::Capture_Library_Object& object, int16_t p) {
    object.Get_Property("sourceFriendlyName");
    object.Get_Property("sourceDescription");
    char key[16];
    std::snprintf(key, sizeof key, "getAMT%02d", p);
    return Module_HDMI_Support::Process_AMT(object.Media_Type_At(object.Get_Property(key)));
}

void Form_select_Video::Do_Enum() {
    capturelib::Capture_Library_Object object;
    ListView_prop->clear();
    for (int n = 1; n <= 10; ++n) {
        if (object.Select_Source("video:" + std::to_string(n)) == 0) break;
        std::string friendly = object.Get_Property("sourceFriendlyName");
        object.Get_Property("sourceDescription");
        int16_t count = vb::CInt(object.Get_Property("numprops"));
        std::string previous;
        for (int16_t p = 0; p < count; ++p) {
            std::string text = Get_Prop(object, p);
            if (text == previous) continue;
            previous = text;
            new QTreeWidgetItem(ListView_prop, {QString::number(n), Q(friendly), QString::number(p), Q(text)});
        }
    }
}

void Form_select_Video::Do_Select() {
    for (int i = 0; i < ListView_prop->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ListView_prop->topLevelItem(i);
        if (S(row->text(col_source)) == m_saved_Friendly_name && S(row->text(col_propnum)) == m_saved_Video_prop_num) {
            ListView_prop->setCurrentItem(row);
            row->setForeground(col_source, QColor(0, 0, 255));
            QApplication::processEvents();
        }
    }
}

void Form_select_Video::ListView_prop_ItemClick(QTreeWidgetItem* item) {
    if (!item) return;
    Label_selected_friendly->setText(item->text(col_source));
    Label_video_source->setText(item->text(col_srcnum));
    Label_property_num->setText(item->text(col_propnum));
    Label_property_string->setText(item->text(col_prop));
    Non_dependant::Write_Ini("capturesettings", "friendlyname", S(item->text(col_source)), Ini_file_path);
    Non_dependant::Write_Ini("capturesettings", "videoproperty", S(item->text(col_propnum)), Ini_file_path);
    selection_made_ = true;
}

void Form_select_Video::Command_select_done_Click() {
    if (!selection_made_) {
        ui::MsgBox("No video source selected!");
        return;
    }
    Form_capture_multi_file::Instance().Set_Source_and_Property();
    Hide();
}

void Form_select_Video::Command_Cancel_Click() {
    m_was_Cancelled = true;
    Hide();
}

void Form_select_Video::Iter2() {
    std::string text = "Video source enumeration at " + Non_dependant::Now_Text() + CrLf + "Program version " +
                       Program_Name + " " + Program_Version + " Computer name " + g_Computer_Name + CrLf;
    for (int i = 0; i < ListView_prop->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ListView_prop->topLevelItem(i);
        text += S(row->text(col_srcnum)) + "  " + S(row->text(col_source)) + "  " + S(row->text(col_propnum)) + "  " +
                S(row->text(col_prop)) + CrLf;
    }
    ui::Clipboard::Clear();
    ui::Clipboard::Set_Text(text);
}
