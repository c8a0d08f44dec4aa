#include "Menu_item.h"

#include "Handler_guard.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ui {

Menu_item::Menu_item(QMenuBar* bar, const std::string& caption) {
    menu_ = bar->addMenu(QString::fromStdString(caption));
    action_ = menu_->menuAction();
}

Menu_item::Menu_item(const Menu_item& parent, const std::string& caption, bool submenu) {
    if (!parent.menu_) vb::Raise(vb::Err_Invalid_Call, "Menu item \"" + caption + "\" needs a menu to hold it");
    if (submenu) {
        menu_ = parent.menu_->addMenu(QString::fromStdString(caption));
        action_ = menu_->menuAction();
    } else if (caption == "-") {
        action_ = parent.menu_->addSeparator();
    } else {
        action_ = parent.menu_->addAction(QString::fromStdString(caption));
    }
}

std::string Menu_item::Caption() const { return action_->text().toStdString(); }
void Menu_item::Set_Caption(const std::string& caption) { action_->setText(QString::fromStdString(caption)); }
bool Menu_item::Visible() const { return action_->isVisible(); }
void Menu_item::Set_Visible(bool visible) { action_->setVisible(visible); }
bool Menu_item::Checked() const { return action_->isChecked(); }
void Menu_item::Set_Checked(bool checked) {
    action_->setCheckable(true);
    action_->setChecked(checked);
}
bool Menu_item::Enabled() const { return action_->isEnabled(); }
void Menu_item::Set_Enabled(bool enabled) { action_->setEnabled(enabled); }

void Menu_item::On_Click(std::function<void()> handler) {
    QObject::connect(action_, &QAction::triggered, action_, [this_action = action_, handler = std::move(handler)] {
        Run_Handler(handler, "Menu item " + this_action->text().toStdString());
    });
}

void Menu_item::Click() {
    if (action_->isVisible() && action_->isEnabled()) action_->trigger();
}

}  // namespace ui
