#pragma once
// The about box: the program's name, version and build date, the versions of the libraries it runs
// with, the product picture and the application-data folder (a click opens it).
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"

#include <string>

class QGroupBox;
class QLabel;
class QMenuBar;

class frmAbout : public ui::Form {
public:
    static frmAbout& Instance() { return ui::Instance_Of<frmAbout>(); }
    frmAbout();

    void Display_PelkGraphics();
    void Display_PelkCap();
    void Display_Phidgets();
    // No address is shown: the label stays empty.
    void Display_Local_IP() {}
    // A bitmap resource, centred across the window.
    void Load_Product_Picture(const std::string& resource_id);
    void Description(const std::string& text) { description_ = text; }
    const std::string& Description() const { return description_; }
    void appdata(const std::string& folder);

    void Command_OK_Click();
    void Label_userapp_Click();
    // With Ctrl held, shows the review window's menu "Specials".
    void Picture_company_Click();
    // The Form menu's title: shows the Debug menu when Ctrl is held, hides it otherwise.
    void Menu_Form_Click();
    void item_print_Click();
    // The date and time in the system's formats and in the program's own.
    void item_date_formats_Click();
    static std::string Date_Formats_Text();

    QGroupBox* Frame_version;
    QLabel* Lblversion;
    QLabel* Lbl_filedate;
    QGroupBox* Frame_technical;
    QLabel* Lbl_IP;
    QLabel* Lbl_pelkcap;
    QLabel* Label_phidget_version;
    QLabel* Lbl_fourcc;
    QLabel* Lbl_PElkGraphics;
    QLabel* Picture_product;
    QLabel* Picture_company;
    QLabel* Lbldescription;
    QLabel* Label_userapp;
    ui::Command_button* Command_OK;
    QMenuBar* Menu_bar;
    ui::Menu_item Menu_Form, item_print, menu_debug, item_date_formats, Menu_sources, item_video_sources,
        item_audio_sources;

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string description_;
};
