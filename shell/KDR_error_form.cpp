#include "KDR_error_form.h"

#include "Log_file.h"
#include "Module_Vantorel.h"
#include "Module_Vantorel_startup.h"
#include "Module_dependant.h"
#include "Non_dependant.h"
#include "mTrace.h"
#include "platform/printer/Printer.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Place.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QThread>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

using namespace Module_Vantorel;

namespace {

// Build-time settings: the support desk that receives the reports.
constexpr const char* Support_Mail_Address = VANTOREL_SUPPORT_MAIL;
constexpr const char* Support_Contact_Lines[5] = {VANTOREL_SUPPORT_ADDRESS_1, VANTOREL_SUPPORT_ADDRESS_2,
                                                   VANTOREL_SUPPORT_ADDRESS_3, VANTOREL_SUPPORT_ADDRESS_4,
                                                   VANTOREL_SUPPORT_PHONE};
constexpr const char* Version = VANTOREL_VERSION;  // major.minor.revision
constexpr const char* CrLf = "\r\n";

int Px_X(int32_t twips) { return twips / ui::Twips_Per_Pixel_X(); }
int Px_Y(int32_t twips) { return twips / ui::Twips_Per_Pixel_Y(); }

using ui::Place;

QFont Font(double points, bool bold) {
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Version_Line(const char* version_word) {
    return Program_Name + version_word + Version + " rm" + std::to_string(Run_Mode) + " " + "Compile date: " +
           Build_Date;
}

std::string Encoded(const std::string& text) { return QUrl::toPercentEncoding(Q(text)).toStdString(); }

}  // namespace

void KDR_error_form::Install_Error_Reporter() {
    vb::Set_Error_Reporter([](const std::string& errdesc, int32_t errnum, int32_t errline, const std::string& errproc,
                              const std::string& err_extra) {
        // An error on the capture worker is reported on the window thread; the worker goes on.
        if (QThread::currentThread() != qApp->thread()) {
            QMetaObject::invokeMethod(qApp, [=] { Instance().KDR_Error_Handler(errdesc, errnum, errline, errproc, err_extra); },
                                      Qt::QueuedConnection);
            return;
        }
        Instance().KDR_Error_Handler(errdesc, errnum, errline, errproc, err_extra);
    });
}

KDR_error_form::KDR_error_form() : ui::Form("KDR_error_form") {
    Set_Caption("KDR error");
    setFixedSize(Px_X(8565), Px_Y(7170));
    const QFont plain_large = Font(13.5, false), plain = Font(9.75, false), frame_font = Font(9.75, true),
                bold = Font(8.25, true);

    Label1 = Place(new QLabel("Error report", this), 120, 240, 5175, 495);
    Label1->setFont(plain_large);
    err_lbl = Place(new QLabel(this), 0, 840, 7815, 2055);
    err_lbl->setFont(plain);
    err_lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    err_lbl->setWordWrap(true);
    err_lbl->setTextFormat(Qt::PlainText);
    ProgressBar1 = Place(new QProgressBar(this), 600, 2400, 6495, 495);
    ProgressBar1->hide();

    Frame_Comments = Place(new QGroupBox("Enter your comments here", this), 120, 3000, 7695, 1455);
    Frame_Comments->setFont(frame_font);
    Text_error_comments = Place(new QPlainTextEdit(Frame_Comments), 120, 240, 7455, 1095);
    Text_error_comments->setFont(frame_font);

    Frame_PC_techs = Place(new QGroupBox("PC tech data", this), 120, 4560, 7695, 1575);
    Frame_PC_techs->setFont(frame_font);
    Lbll_PC_info = Place(new QLabel("PC info:", Frame_PC_techs), 120, 360, 855, 255);
    Label_PC_info = Place(new QLabel(Frame_PC_techs), 1440, 360, 5535, 375);
    Lbl_Windows_Version = Place(new QLabel("Windows version:", Frame_PC_techs), 120, 840, 1095, 495);
    Lbl_Windows_Version->setWordWrap(true);
    Label_Windows_version = Place(new QLabel(Frame_PC_techs), 1440, 840, 3735, 495);
    for (QLabel* label : {Lbll_PC_info, Label_PC_info, Lbl_Windows_Version, Label_Windows_version}) {
        label->setFont(bold);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
    }

    Cmd_print_error = Place(new ui::Command_button("Print report", this), 120, 6240, 975, 615);
    Cmd_save_log = Place(new ui::Command_button("Save in log file", this), 1200, 6240, 1215, 615);
    Cmd_mailto = Place(new ui::Command_button("Send mail", this), 2520, 6240, 1335, 615);
    Cmd_continue = Place(new ui::Command_button("Continue", this), 3960, 6240, 1095, 615);
    Cmd_exit = Place(new ui::Command_button("Exit program", this), 6480, 6240, 1215, 615);
    for (ui::Command_button* button : {Cmd_print_error, Cmd_save_log, Cmd_mailto, Cmd_continue, Cmd_exit})
        button->setFont(bold);
    Cmd_print_error->On_Click([this] { Cmd_print_error_Click(); });
    Cmd_save_log->On_Click([this] { Cmd_save_log_Click(); });
    Cmd_mailto->On_Click([this] { Cmd_mailto_Click(); });
    Cmd_continue->On_Click([this] { Cmd_continue_Click(); });
    Cmd_exit->On_Click([this] { Cmd_exit_Click(); });
}

void KDR_error_form::Form_Load() {
    Place(ProgressBar1, 600, 2400, 6495, 495);
    KDR_Error_Initialize();
    MakeTopMost(*this);
}

void KDR_error_form::Form_QueryUnload(int16_t&, int16_t) {
    Module_dependant::Trace_String("*KDR_error_form Form_QueryUnload,end");
}

void KDR_error_form::KDR_Error_Handler(const std::string& errdesc, int32_t errnum, int32_t errline,
                                       const std::string& errproc, const std::string& err_extra) {
    vb::Trap_With(
        true,
        [&] {
            mTrace::Trace("*KDR_error_handler1, " + std::to_string(errnum) + "," + std::to_string(errline) + "," +
                          errproc);
            Show(ui::vbModeless);
            QCoreApplication::processEvents();
            mTrace::Trace("*KDR_error_handler2");
            std::string text = "Location of error: " + errproc + " line: " + std::to_string(errline) + CrLf;
            text += "error description: " + std::to_string(errnum) + ", " + errdesc + CrLf;
            text += Version_Line(" Program version ") + CrLf;
            text += "Extra information: " + err_extra;
            text += "program name: " + Program_Name;
            text += " Uptime: " +
                    Non_dependant::Display_Mill_Time(sys::Tick_Diff(sys::timeGetTime(), Replay_Start_Tick), false);
            Set_Report(text + CrLf);
            repaint();
            mTrace::Trace("*KDR_error_handler5");
        },
        [](const VbError& e) {
            ui::MsgBox("Error in Error_form" + e.Description() + std::to_string(e.Number()) + " " +
                       std::to_string(e.Line()));
        });
}

void KDR_error_form::Set_Report(std::string text) {
    report_ = std::move(text);
    err_lbl->setText(Q(report_).replace("\r\n", "\n"));
}

void KDR_error_form::KDR_Error_Trap() { QCoreApplication::processEvents(); }

void KDR_error_form::KDR_Error_Initialize() {
    Load_Total_Memory();
    Set_Caption(Program_Name + " error");
    Label1->setText(Q(Program_Name + " error report"));
    Label_PC_info->setText(Q(g_Computer_Name + " " + CPU_Info + " Ram: " + Phys_RAM));
    Label_Windows_version->setText(Q(OS_Version + "\nCPU = " + CPU_Bitness + " OS = " + OS_Bitness));
}

void KDR_error_form::MakeTopMost(ui::Form& window) { window.Set_Top_Most(true); }

std::string KDR_error_form::Comments_Text() const {
    return Text_error_comments->toPlainText().replace("\n", "\r\n").toStdString();
}

void KDR_error_form::Cmd_continue_Click() { Hide(); }

void KDR_error_form::Cmd_exit_Click() {
    // Ends at once: no shutdown, no question, no log line.
    std::fflush(nullptr);
    std::_Exit(0);
}

std::string KDR_error_form::Mail_Link() const {
    std::string body = "Gen.at: " + Non_dependant::Now_Text() + "//" + CrLf;
    body += " " + Version_Line(" Program version ") + "//" + CrLf;
    body += " Computer: " + g_Computer_Name + "//" + CrLf;
    body += "  " + report_ + "//";
    body += "  " + Comments_Text();
    return std::string("mailto:") + Support_Mail_Address + "?Subject=" + Encoded(" " + Program_Name + " error") +
           "&Body=" + Encoded(body);
}

void KDR_error_form::Cmd_mailto_Click() {
    try {
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(Mail_Link()), QUrl::StrictMode));
    } catch (...) {
        // The mail is a courtesy; the report stays in the window.
    }
}

void KDR_error_form::Cmd_print_error_Click() {
    vb::Trap_With(
        Is_Compiled,
        [&] {
            printer::Printer printer(AppData_Folder, ui::Program_Title);
            if (!printer.Available()) {
                ui::MsgBox("No printer availible");
                return;
            }
            printer.Set_Current_X(100);
            printer.Set_Current_Y(100);
            printer.Set_Font_Size(24);
            printer.Print(Program_Name + " error report" + CrLf + CrLf);
            printer.Set_Font_Size(12);
            printer.Print("Printed at: " + Non_dependant::Now_Text() + CrLf);
            printer.Print(Version_Line(" version "));
            printer.Print(" Computer: " + g_Computer_Name + CrLf);
            printer.Print(report_);
            printer.Print(Comments_Text());
            printer.Set_Font_Italic(true);
            printer.Print("What to do with this error report?");
            printer.Set_Font_Italic(false);
            printer.Print(std::string("To help fix the error, please report it by using any of the methods listed below!") +
                          CrLf);
            printer.Print("1 Send by normal mail to:");
            for (int i = 0; i < 4; ++i) printer.Print(Support_Contact_Lines[i]);
            printer.Print("2 E-mail to:");
            printer.Print(std::string(Support_Mail_Address) + CrLf);
            printer.Print("3 Call");
            printer.Print(Support_Contact_Lines[4]);
            if (const int error = printer.End_Doc()) {
                ui::MsgBox(printer::Print_Failure_Text(printer.Output_File(), error), ui::vbExclamation);
                return;
            }

            ProgressBar1->setMinimum(1);
            ProgressBar1->setMaximum(100);
            ProgressBar1->show();
            for (int value = 1; value <= 100; ++value) {
                ProgressBar1->setValue(value);
                ProgressBar1->repaint();
                sys::Sleep(5);
            }
            ProgressBar1->hide();
        },
        [](const VbError&) { ui::MsgBox("Printer error"); });
}

void KDR_error_form::Cmd_save_log_Click() { Append_Error_Log(); }

void KDR_error_form::Append_Error_Log() {
    vb::Trap_With(
        Is_Compiled,
        [&] {
            std::string path = AppData_Folder + "/" + "Vantorel_errlog.txt";
            {
                Log_file log(AppData_Folder, "Vantorel_errlog.txt");
                log.Write_Line("Saved  at: " + Non_dependant::Now_Text() + CrLf);
                log.Write_Line(Version_Line(" version "));
                log.Write_Line(" Computer: " + g_Computer_Name + CrLf);
                log.Write_Line(report_);
                log.Write_Line(Comments_Text());
                log.Write_Line(std::string(44, '*'));
            }
            Log_file::Succeeded(AppData_Folder, "Vantorel_errlog.txt");
            ui::MsgBox("Error info appended to file: " + path);
        },
        [](const VbError& e) { Log_file::Tell_Failure(AppData_Folder, "Vantorel_errlog.txt", e); });
}
