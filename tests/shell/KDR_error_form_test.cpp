#include "Test_dialogs.h"
#include "shell/KDR_error_form.h"
#include "shell/Module_AppUserData.h"
#include "shell/Module_Vantorel.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace {

// Stands in for the desktop's mail program.
class Mail_program : public QObject {
    Q_OBJECT
public:
    QUrl opened;
public slots:
    void Open(const QUrl& url) { opened = url; }
};

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string Date_Time = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)";
const std::string Version = R"(Vantorel_HDMI, Full v\. version \d+\.\d+\.\d+ rm2 Compile date: 2016-07-20 19:35)";

// The version as the report writes it, taken from the report's own version line.
std::string Program_Version() {
    std::string report = KDR_error_form::Instance().Report_Text();
    std::smatch match;
    std::regex_search(report, match, std::regex(R"(Program version (\d+\.\d+\.\d+) )"));
    return match[1];
}

class KDR_error_form_test : public testing::Test {
protected:
    void SetUp() override {
        using namespace Module_Vantorel;
        Is_Compiled = true;
        Program_Name = "Vantorel_HDMI, Full v.";
        Run_Mode = 2;
        g_Computer_Name = "RACE-PC";
        CPU_Info = "Intel Core i5";
        OS_Version = "Debian GNU/Linux 12";
        CPU_Bitness = "64";
        OS_Bitness = "64";
        AppData_Folder = Module_AppUserData::Get_AppData_Folder();
        // 61 s ago, across the tick's wrap as well
        Replay_Start_Tick = static_cast<int32_t>(static_cast<uint32_t>(sys::timeGetTime()) - 61000u);
        KDR_error_form::Install_Error_Reporter();
    }
    void TearDown() override { vb::Set_Error_Reporter(nullptr); }

    // What a trapped handler of the program does when its body fails; gives the line raised at.
    int32_t Fail_In_Handler(const std::string& location, const std::string& extra = {}) {
        int32_t line = 0;
        vb::Trap(Module_Vantorel::Is_Compiled, location, [&] {
            line = __LINE__ + 1;
            vb::Raise(vb::Err_File_Not_Found);
        }, extra);
        return line;
    }
};

TEST_F(KDR_error_form_test, a_trapped_error_shows_the_top_most_window_with_the_four_report_lines) {
    int32_t line = Fail_In_Handler("Kill_File of Module Module_dependant");
    KDR_error_form& form = KDR_error_form::Instance();
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Top_Most());
    EXPECT_EQ(form.Caption(), "Vantorel_HDMI, Full v. error");
    EXPECT_EQ(form.Label1->text(), "Vantorel_HDMI, Full v. error report");
    EXPECT_EQ(form.Label_PC_info->text().toStdString().rfind("RACE-PC Intel Core i5 Ram: ", 0), 0u);
    EXPECT_EQ(form.Label_Windows_version->text(), "Debian GNU/Linux 12\nCPU = 64 OS = 64");

    std::regex report("Location of error: Kill_File of Module Module_dependant line: " + std::to_string(line) +
                      "\r\n"
                      "error description: 53, File not found\r\n" +
                      std::regex_replace(Version, std::regex(" version "), " Program version ") +
                      "\r\n"
                      R"(Extra information: program name: Vantorel_HDMI, Full v\. Uptime:  01:0[1-9],\d\d)"  // a slow run may take seconds
                      "\r\n");
    EXPECT_TRUE(std::regex_match(form.Report_Text(), report)) << form.Report_Text();
    EXPECT_EQ(form.err_lbl->text().toStdString().find('\r'), std::string::npos);

    QImage picture = form.grab().toImage();
    EXPECT_EQ(picture.width(), 8565 / 15);
    if (const char* folder = std::getenv("VANTOREL_SCREENSHOTS")) picture.save(QString(folder) + "/KDR_error_form.png");
}

TEST_F(KDR_error_form_test, continue_hides_and_a_new_report_replaces_the_old_but_keeps_the_comments) {
    Fail_In_Handler("First of Form Frm_kanot_2");
    KDR_error_form& form = KDR_error_form::Instance();
    form.Text_error_comments->setPlainText("clicked lane 3");
    form.Cmd_continue->click();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(ui::Is_Loaded("KDR_error_form"));

    Fail_In_Handler("Second of Form Frm_kanot_2", "heat 4");
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Report_Text().find("First"), std::string::npos);
    EXPECT_NE(form.Report_Text().find("Second of Form Frm_kanot_2"), std::string::npos);
    EXPECT_NE(form.Report_Text().find("Extra information: heat 4program name: "), std::string::npos);
    EXPECT_EQ(form.Text_error_comments->toPlainText(), "clicked lane 3");
}

TEST_F(KDR_error_form_test, closing_unloads_and_the_next_report_loads_afresh) {
    Fail_In_Handler("First of Form Frm_kanot_2");
    KDR_error_form::Instance().Text_error_comments->setPlainText("gone after close");
    EXPECT_TRUE(KDR_error_form::Instance().close());
    EXPECT_FALSE(ui::Is_Loaded("KDR_error_form"));
    Module_Vantorel::Program_Name = "Renamed";
    Fail_In_Handler("Second of Form Frm_kanot_2");
    EXPECT_EQ(KDR_error_form::Instance().Caption(), "Renamed error");
    EXPECT_EQ(KDR_error_form::Instance().Text_error_comments->toPlainText(), "");
}

TEST_F(KDR_error_form_test, save_in_log_file_appends_the_entry_and_says_where) {
    Fail_In_Handler("Kill_File of Module Module_dependant");
    KDR_error_form& form = KDR_error_form::Instance();
    std::string path = Module_Vantorel::AppData_Folder + "/Vantorel_errlog.txt";
    Test_dialogs::Instance().Answer(ui::vbOK);
    form.Cmd_save_log->click();
    form.Text_error_comments->setPlainText("second\nline");
    Test_dialogs::Instance().Answer(ui::vbOK);
    form.Cmd_save_log->click();

    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "Error info appended to file: " + path);
    std::string version = "Vantorel_HDMI, Full v. version " + Program_Version() + " rm2 Compile date: 2016-07-20 19:35";
    std::string entry_head = "Saved  at: <now>\r\n\r\n" + version + "\r\n Computer: RACE-PC\r\n\r\n" + form.Report_Text() + "\r\n";
    std::string stars = std::string(44, '*') + "\r\n";
    std::string text = std::regex_replace(Read_File(path), std::regex(Date_Time), "<now>");
    EXPECT_EQ(text, entry_head + "\r\n" + stars + entry_head + "second\r\nline\r\n" + stars);
}

TEST_F(KDR_error_form_test, a_log_folder_that_is_missing_gives_log_error_and_the_report_stays) {
    Fail_In_Handler("Kill_File of Module Module_dependant");
    Module_Vantorel::AppData_Folder = Test_folder() + "/missing";
    Test_dialogs::Instance().Answer(ui::vbOK);
    KDR_error_form::Instance().Cmd_save_log->click();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "Log error Path not found 76");
    EXPECT_TRUE(KDR_error_form::Instance().Visible());
}

TEST_F(KDR_error_form_test, send_mail_hands_an_encoded_link_that_decodes_back_to_the_report) {
    Mail_program mail;
    QDesktopServices::setUrlHandler("mailto", &mail, "Open");
    Fail_In_Handler("Kill_File of Module Module_dependant", "lanes & times #3");
    KDR_error_form& form = KDR_error_form::Instance();
    form.Text_error_comments->setPlainText("A&B=1 #2 50% +x\nsecond line");
    form.Cmd_mailto->click();
    QDesktopServices::unsetUrlHandler("mailto");

    ASSERT_TRUE(mail.opened.isValid()) << form.Mail_Link();
    EXPECT_EQ(mail.opened.scheme(), "mailto");
    EXPECT_EQ(mail.opened.path(), "support@example.org");
    QUrlQuery query(mail.opened);
    EXPECT_EQ(query.queryItemValue("Subject", QUrl::FullyDecoded), " Vantorel_HDMI, Full v. error");
    std::string body = query.queryItemValue("Body", QUrl::FullyDecoded).toStdString();
    std::regex expected("Gen\\.at: " + Date_Time + "//\r\n " +
                        std::regex_replace(Version, std::regex(" version "), " Program version ") +
                        "//\r\n Computer: RACE-PC//\r\n  ([^]*)//  A&B=1 #2 50% \\+x\r\nsecond line");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(body, parts, expected)) << body;
    EXPECT_EQ(parts[1].str(), form.Report_Text());
}

TEST_F(KDR_error_form_test, print_report_writes_the_document_and_hides_the_progress_bar) {
    Fail_In_Handler("Kill_File of Module Module_dependant");
    KDR_error_form& form = KDR_error_form::Instance();
    form.Cmd_print_error->click();
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    EXPECT_FALSE(form.ProgressBar1->isVisible());
    int pdfs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Module_Vantorel::AppData_Folder))
        if (entry.path().extension() == ".pdf") ++pdfs;
    EXPECT_EQ(pdfs, 1);

    Module_Vantorel::AppData_Folder = Test_folder() + "/missing";
    Test_dialogs::Instance().Answer(ui::vbOK);
    form.Cmd_print_error->click();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "No printer availible");
}

TEST_F(KDR_error_form_test, exit_program_ends_at_once) {
    Fail_In_Handler("Kill_File of Module Module_dependant");
    EXPECT_EXIT(KDR_error_form::Instance().Cmd_exit->click(), testing::ExitedWithCode(0), "");
}

TEST_F(KDR_error_form_test, in_a_development_run_an_untrapped_error_of_a_click_is_reported_at_the_event_loop) {
    Fail_In_Handler("Kill_File of Module Module_dependant");
    Module_Vantorel::Is_Compiled = false;
    Module_Vantorel::AppData_Folder = Test_folder() + "/missing";
    KDR_error_form& form = KDR_error_form::Instance();
    QPointF centre(form.Cmd_save_log->width() / 2.0, form.Cmd_save_log->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, form.Cmd_save_log->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, form.Cmd_save_log->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Cmd_save_log, &press);
    QCoreApplication::sendEvent(form.Cmd_save_log, &release);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    EXPECT_EQ(form.Report_Text().rfind("Location of error: Event loop line: ", 0), 0u) << form.Report_Text();
    EXPECT_NE(form.Report_Text().find("error description: 76, Path not found"), std::string::npos);
}

TEST_F(KDR_error_form_test, numbers_beyond_16_bits_reach_the_report_whole) {
    KDR_error_form::Instance().KDR_Error_Handler("Component failure", -2147467259, 70000, "Open of Class Module X", "");
    EXPECT_EQ(KDR_error_form::Instance().Report_Text().rfind(
                  "Location of error: Open of Class Module X line: 70000\r\n"
                  "error description: -2147467259, Component failure\r\n", 0),
              0u);
}

}  // namespace

#include "KDR_error_form_test.moc"
