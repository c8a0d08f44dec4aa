#pragma once
// The common error report: shows where and what went wrong, lets the operator add comments, and
// mail, print or log the report before continuing or ending the program.
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"

#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;

class KDR_error_form : public ui::Form {
public:
    static KDR_error_form& Instance() { return ui::Instance_Of<KDR_error_form>(); }
    // Makes KDR_Error_Handler the report of every armed error trap.
    static void Install_Error_Reporter();

    KDR_error_form();

    // Shows the window with a fresh report; the operator's comments stay.
    void KDR_Error_Handler(const std::string& errdesc, int32_t errnum, int32_t errline, const std::string& errproc,
                           const std::string& err_extra);
    void KDR_Error_Trap();
    void KDR_Error_Initialize();
    void MakeTopMost(ui::Form& window);

    void Cmd_continue_Click();
    void Cmd_exit_Click();
    void Cmd_mailto_Click();
    void Cmd_print_error_Click();
    void Cmd_save_log_Click();

    // The report as the window shows it, lines ended by CR LF.
    const std::string& Report_Text() const { return report_; }
    // The operator's comments, lines ended by CR LF.
    std::string Comments_Text() const;
    // The "mailto:" link of the report, percent-encoded so that every character of the report arrives.
    std::string Mail_Link() const;

    QLabel* Label1;
    QLabel* err_lbl;
    QProgressBar* ProgressBar1;
    QGroupBox* Frame_Comments;
    QPlainTextEdit* Text_error_comments;
    QGroupBox* Frame_PC_techs;
    QLabel* Lbll_PC_info;
    QLabel* Label_PC_info;
    QLabel* Lbl_Windows_Version;
    QLabel* Label_Windows_version;
    ui::Command_button* Cmd_print_error;
    ui::Command_button* Cmd_save_log;
    ui::Command_button* Cmd_mailto;
    ui::Command_button* Cmd_continue;
    ui::Command_button* Cmd_exit;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;

private:
    void Append_Error_Log();
    void Set_Report(std::string text);

    std::string report_;
};
