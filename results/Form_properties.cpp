#include "Form_properties.h"

#include "Frm_progress.h"
#include "Module_Vantorel_print.h"
#include "platform/printer/Printer.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Screen.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

QRect Twips(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t x = ui::Twips_Per_Pixel_X(), y = ui::Twips_Per_Pixel_Y();
    return {left / x, top / y, width / x, height / y};
}

QFont Bold(const char* family, double points) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

Form_properties::Form_properties() : ui::Form("Form_properties") {
    Set_Caption("Vantorel File properties");
    Label_filename = new QLabel(this);
    Label_filename->setGeometry(Twips(120, 120, 9015, 855));
    Label_filename->setFont(Bold("Microsoft Sans Serif", 14.25));
    Label_filename->setFrameShape(QFrame::Box);
    Label_filename->setWordWrap(true);
    Text_properties = new QPlainTextEdit(this);
    Text_properties->setGeometry(Twips(120, 1080, 9015, 5295));
    Text_properties->setFont(Bold("MS Sans Serif", 9.75));
    Command_OK = new ui::Command_button("OK", this);
    Command_OK->setGeometry(Twips(120, 6480, 1815, 495));
    Command_OK->On_Click([this] { Command_OK_Click(); });
    Command_Print = new ui::Command_button("Print", this);
    Command_Print->setGeometry(Twips(2040, 6480, 1815, 495));
    Command_Print->On_Click([this] { Command_Print_Click(); });
    const QRect bottom = Twips(0, 0, 9015 + 240, 6480 + 495 + 120);
    resize(bottom.width(), bottom.height());
}

void Form_properties::Command_OK_Click() { Unload(); }

void Form_properties::Command_Print_Click() {
    Frm_progress& progress = Frm_progress::Instance();
    progress.Set_Caption("Printing....");
    progress.Show();
    printer::Printer paper(Module_Vantorel::AppData_Folder, ui::Program_Title);
    if (!paper.Available()) {
        progress.Hide();
        ui::MsgBox("No printer installed, and no folder for the printout!", ui::vbExclamation);
        return;
    }
    paper.Set_Font_Size(12);
    progress.Set_Percent(25);
    Non_dependant::Do_Sleep(200, true);
    paper.Print("Vantorel File Properties printout at: " + Non_dependant::Now_Text() + "\r\n");
    progress.Set_Percent(50);
    Non_dependant::Do_Sleep(200, true);
    paper.Print(Label_filename->text().toStdString());
    paper.Print(Text_properties->toPlainText().toStdString());
    progress.Set_Percent(100);
    const int error = paper.End_Doc();
    Non_dependant::Do_Sleep(200, true);
    Command_OK->setFocus();
    progress.Hide();
    if (error) Module_Vantorel::Tell_Print_Failure(paper.Output_File(), error);
    else Module_Vantorel::Tell_Pdf_File(paper.Output_File());
}
