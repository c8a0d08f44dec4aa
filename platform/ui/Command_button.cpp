#include "Command_button.h"

#include "Handler_guard.h"

#include <QEvent>
#include <QFontMetrics>

namespace ui {

Command_button::Command_button(const std::string& caption, QWidget* parent)
    : QPushButton(parent), caption_(QString::fromStdString(caption)) {
    Wrap();
}

void Command_button::Set_Caption(const std::string& caption) {
    caption_ = QString::fromStdString(caption);
    Wrap();
}

void Command_button::On_Click(std::function<void()> handler) {
    connect(this, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
        Run_Handler(handler, "Button " + Caption() + " in window " + window()->objectName().toStdString());
    });
}

void Command_button::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    Wrap();
}

void Command_button::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange) Wrap();
}

void Command_button::Wrap() {
    const QFontMetrics metrics(font());
    const int room = width() - 4;
    QString wrapped, line;
    for (const QString& word : caption_.split(' ')) {
        QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > room) {
            wrapped += line + '\n';
            line = word;
        } else {
            line = longer;
        }
    }
    setText(wrapped + line);
}

}  // namespace ui
