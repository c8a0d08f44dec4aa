#pragma once
// The source dialog: lists every capture source with each of its formats, saves the row the operator
// clicks as the capture source, and hands the choice to the capture console.
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QMenuBar;
class QTreeWidget;
class QTreeWidgetItem;
namespace capturelib {
class Capture_Library_Object;
}
namespace ui {
class Command_button;
}

class Form_select_Video : public ui::Form {
public:
    static Form_select_Video& Instance() { return ui::Instance_Of<Form_select_Video>(); }
    Form_select_Video();

    // True once "Cancel" closed the dialog; every activation clears it.
    bool m_was_Cancelled = false;

    // Lists every format of the sources "video:1" up to the first number with no source; a format whose
    // text equals the one listed just before it is left out.
    void Do_Enum();
    // Selects the rows of the saved source and format, and colours their source name.
    void Do_Select();
    // The format text of format `p` of the object's current source.
    std::string Get_Prop(capturelib::Capture_Library_Object& object, int16_t p);
    // The list as text on the clipboard.
    void Iter2();

    void Command_enum2_Click();
    void Command_select_done_Click();
    void Command_Cancel_Click();
    // A click on a row: shows it as the selection and saves it as the capture source at once.
    void ListView_prop_ItemClick(QTreeWidgetItem* item);

    QTreeWidget* ListView_prop;
    QGroupBox* Frame_selection;
    QLabel* Label_selected_friendly;
    QLabel* Label_video_source;
    QLabel* Label_property_string;
    QLabel* Label_property_num;
    ui::Command_button* Command_enum2;
    ui::Command_button* Command_select_done;
    ui::Command_button* Command_Cancel;
    QMenuBar* Menu_bar;
    ui::Menu_item Menu_form, item_copy_to_clipboard, item_iterate;
    ui::Menu_item Menu_debug, item_show_selection;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    bool selection_made_ = false;
};
