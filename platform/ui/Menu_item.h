#pragma once
// A menu of a window's menu bar, a submenu, or a command in one; it can be hidden, checked and disabled.
// A handle: copies refer to the same item, which Qt owns with its menu.
#include "platform/vb/VbError.h"

#include <QPointer>

#include <functional>
#include <string>

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

class Menu_item {
public:
    // No item yet; a window assigns it when it builds its menus.
    Menu_item() = default;
    // A menu in the window's menu bar.
    Menu_item(QMenuBar* bar, const std::string& caption);
    // A command in `parent`'s menu, or with `submenu` a menu of its own there; caption "-" is a separator.
    Menu_item(const Menu_item& parent, const std::string& caption, bool submenu = false);

    std::string Caption() const;
    void Set_Caption(const std::string& caption);
    bool Visible() const;
    void Set_Visible(bool visible);
    bool Checked() const;
    void Set_Checked(bool checked);
    bool Enabled() const;
    void Set_Enabled(bool enabled);

    void On_Click(std::function<void()> handler);
    // What the operator's click does: runs the click handler when the item is visible and enabled.
    void Click();

    QAction* Action() const { return action_; }
    QMenu* Menu() const { return menu_; }

private:
    QPointer<QAction> action_;
    QPointer<QMenu> menu_;
};

}  // namespace ui
