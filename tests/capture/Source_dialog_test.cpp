// The source dialog lists the sources and their formats, saves the clicked row and hands the choice
// to the console, whose camera then starts once per choice.
#include "Capture_support.h"
#include "Test_dialogs.h"
#include "capture/Form_capture_multi_file.h"
#include "capture/Form_select_Video.h"
#include "capture/cls_Capture_HDMI.h"
#include "platform/capturelib/Synthetic_source.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Command_button.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QEvent>
#include <QLabel>
#include <QTreeWidget>

#include <fstream>
#include <gtest/gtest.h>

using namespace Module_Vantorel;

namespace {

class Source_dialog : public testing::Test {
protected:
    void SetUp() override {
        AppData_Folder = Test_folder();
        Ini_file_path = Test_folder() + "/Vantorel_HDMI.ini";
        std::ofstream(Ini_file_path) << "[capturesettings]\n";
        m_saved_Friendly_name = "noname";
        m_saved_Video_prop_num = "-1";
        Crop_Width = 120;
        Crop_Height = 200;
        Capture_Running = false;
    }
    void TearDown() override { ui::Destroy_All_Forms(); }

    // Every row as "Sn|Video Source|Pn|Properties".
    static std::vector<std::string> Rows(Form_select_Video& dialog) {
        std::vector<std::string> rows;
        for (int i = 0; i < dialog.ListView_prop->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = dialog.ListView_prop->topLevelItem(i);
            rows.push_back((row->text(0) + "|" + row->text(1) + "|" + row->text(2) + "|" + row->text(3)).toStdString());
        }
        return rows;
    }
    static QTreeWidgetItem* Row_Of(Form_select_Video& dialog, const std::string& source, int format) {
        for (int i = 0; i < dialog.ListView_prop->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = dialog.ListView_prop->topLevelItem(i);
            if (row->text(1).toStdString() == source && row->text(2).toInt() == format) return row;
        }
        return nullptr;
    }
    static void Activate(ui::Form& form) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&form, &activate);
    }
    static std::string Ini(const std::string& key) {
        return Non_dependant::Read_Ini("capturesettings", key, Ini_file_path, "(none)");
    }
};

}  // namespace

TEST_F(Source_dialog, Lists_the_synthetic_source_with_each_format) {
    Form_select_Video& dialog = Form_select_Video::Instance();
    EXPECT_EQ(dialog.Caption(), "Select HDMI Video Source");
    // Listed at once when the dialog loads, and again at each press.
    const std::vector<std::string> at_load = Rows(dialog);
    dialog.Command_enum2->click();
    std::vector<std::string> rows = Rows(dialog);
    EXPECT_EQ(at_load, rows);
    std::vector<std::string> synthetic(rows.end() - 7, rows.end());
    std::string n = synthetic.front().substr(0, synthetic.front().find('|'));
    std::string name = std::string("|") + capturelib::Synthetic_Friendly_Name + "|";
    EXPECT_EQ(synthetic, (std::vector<std::string>{
                             n + name + "0|1920*1080/50", n + name + "1|1920*1080/25", n + name + "2|1280*720/50",
                             n + name + "3|1280*720/25", n + name + "4|720*576/25", n + name + "5|640*480/30",
                             n + name + "6|320*240/25"}));
}

TEST_F(Source_dialog, Lists_sources_up_to_the_first_gap_and_skips_a_format_equal_to_the_one_before) {
    // Formats A, A, B, A: the second A has the same text as the first.
    Simulated_sources sources(
        {Described("Grabber", "videotestsrc",
                   {Raw("YUY2", 1920, 1080, 25), {"image/jpeg", "", 1920, 1080, 25, 1}, Raw("YUY2", 1280, 720, 50),
                    Raw("NV12", 1920, 1080, 25)}),
         Described("Webcam", "videotestsrc", {Raw("YUY2", 640, 480, 30000, 1001)})});
    Form_select_Video& dialog = Form_select_Video::Instance();
    dialog.Command_enum2_Click();
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"1|Grabber|0|1920*1080/25", "1|Grabber|2|1280*720/50",
                                                      "1|Grabber|3|1920*1080/25", "2|Webcam|0|640*480/30"}));
}

TEST_F(Source_dialog, Marks_the_saved_row_and_saves_a_clicked_row_at_once) {
    Simulated_sources sources({Described("Grabber", "videotestsrc", {Raw("YUY2", 1920, 1080, 25), Raw("YUY2", 1280, 720, 50)}),
                               Described("Webcam", "videotestsrc", {Raw("YUY2", 640, 480, 30)})});
    m_saved_Friendly_name = "Grabber";
    m_saved_Video_prop_num = "1";
    Form_select_Video& dialog = Form_select_Video::Instance();
    dialog.Command_enum2_Click();
    QTreeWidgetItem* saved = Row_Of(dialog, "Grabber", 1);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(dialog.ListView_prop->currentItem(), saved);
    EXPECT_EQ(saved->foreground(1).color(), QColor(0, 0, 255));
    EXPECT_NE(Row_Of(dialog, "Grabber", 0)->foreground(1).color(), QColor(0, 0, 255));

    Test_dialogs::Instance().Answer(ui::vbOK);
    dialog.Command_select_done_Click();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{"No video source selected!"});

    dialog.ListView_prop_ItemClick(nullptr);  // a click beside the rows
    EXPECT_EQ(Ini("friendlyname"), "(none)");
    dialog.ListView_prop_ItemClick(Row_Of(dialog, "Webcam", 0));
    EXPECT_EQ(dialog.Label_selected_friendly->text(), "Webcam");
    EXPECT_EQ(dialog.Label_video_source->text(), "2");
    EXPECT_EQ(dialog.Label_property_num->text(), "0");
    EXPECT_EQ(dialog.Label_property_string->text(), "640*480/30");
    EXPECT_EQ(Ini("friendlyname"), "Webcam");
    EXPECT_EQ(Ini("videoproperty"), "0");
    dialog.Show();
    dialog.Command_Cancel_Click();
    EXPECT_TRUE(dialog.m_was_Cancelled);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Ini("friendlyname"), "Webcam");  // a cancel keeps what a click saved
    Activate(dialog);
    EXPECT_FALSE(dialog.m_was_Cancelled);
}

TEST_F(Source_dialog, The_list_goes_to_the_clipboard_as_text) {
    Simulated_sources sources({Described("Webcam", "videotestsrc", {Raw("YUY2", 640, 480, 30)})});
    Program_Name = "Vantorel_HDMI, Full v.";
    Program_Version = "1.0.0";
    g_Computer_Name = "finish-pc";
    Form_select_Video& dialog = Form_select_Video::Instance();
    dialog.Command_enum2_Click();
    dialog.item_iterate.Click();
    std::string text = ui::Clipboard::Get_Text();
    EXPECT_EQ(text.rfind("Video source enumeration at ", 0), 0u);
    EXPECT_NE(text.find("\r\nProgram version Vantorel_HDMI, Full v. 1.0.0 Computer name finish-pc\r\n"
                        "1  Webcam  0  640*480/30\r\n"),
              std::string::npos);
}

TEST_F(Source_dialog, A_choice_starts_the_camera_once_and_an_activation_does_not_restart_it) {
    Form_select_Video& dialog = Form_select_Video::Instance();
    dialog.Command_enum2_Click();
    dialog.ListView_prop_ItemClick(Row_Of(dialog, capturelib::Synthetic_Friendly_Name, 6));
    dialog.Show();
    dialog.Command_select_done_Click();
    EXPECT_FALSE(dialog.isVisible());
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    ASSERT_TRUE(console.Has_Capture_Device());
    cls_Capture_HDMI& device = *console.obj_Capture_HDMI();
    EXPECT_TRUE(device.SourcePropFound());
    EXPECT_EQ(m_saved_Video_prop_num, "6");
    EXPECT_EQ(device.Crop_Width(), 120);
    EXPECT_FALSE(device.Is_Running());  // the console is not shown yet

    console.Show();
    Activate(console);
    EXPECT_TRUE(device.Is_Running());
    EXPECT_TRUE(Capture_Running);
    ASSERT_TRUE(Wait_For([&] { return device.HDMI_events() >= 10; }));
    int32_t before = device.HDMI_events();
    Activate(console);
    Activate(console);
    EXPECT_GE(device.HDMI_events(), before);  // counting on: not restarted

    // A new choice while the console is shown starts the camera with it at once.
    dialog.ListView_prop_ItemClick(Row_Of(dialog, capturelib::Synthetic_Friendly_Name, 5));
    dialog.Command_select_done_Click();
    EXPECT_EQ(device.Current_PropertyString(), "640*480/30");
    EXPECT_EQ(device.HDMI_Sample_Dimensions(), "640*480");
    EXPECT_LT(device.HDMI_events(), before);

    console.Terminate_obj_Capture_HDMI();
    EXPECT_FALSE(console.Has_Capture_Device());
}

TEST_F(Source_dialog, A_saved_source_that_is_gone_opens_the_dialog_or_says_none_is_selected) {
    std::ofstream(Ini_file_path) << "[capturesettings]\nfriendlyname=Unplugged camera\nvideoproperty=0\n";
    m_saved_Video_prop_num = "0";
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Activate(console);
    EXPECT_TRUE(Form_select_Video::Instance().isVisible());
    EXPECT_FALSE(Capture_Running);
    Activate(console);  // tried once per choice: no second message
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);

    Form_select_Video::Instance().Command_Cancel_Click();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Set_Source_and_Property();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              (std::vector<std::string>{"Could not find the saved Video source! Please re-select Video source!",
                                        "Could not find the saved Video source! Please re-select Video source!",
                                        "No video source selected!"}));
}
