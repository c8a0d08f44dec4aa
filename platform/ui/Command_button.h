#pragma once
// A push button whose caption wraps onto further lines at spaces when it is wider than the button,
// as the windows' buttons were laid out for.
#include <QPushButton>

#include <functional>
#include <string>

namespace ui {

class Command_button : public QPushButton {
public:
    Command_button(const std::string& caption, QWidget* parent);

    std::string Caption() const { return caption_.toStdString(); }
    void Set_Caption(const std::string& caption);
    // The Click handler; its errors are reported as at the event loop.
    void On_Click(std::function<void()> handler);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Wrap();
    QString caption_;
};

}  // namespace ui
