#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui::Clipboard {

void Clear() { QGuiApplication::clipboard()->clear(); }
void Set_Text(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }
std::string Get_Text() { return QGuiApplication::clipboard()->text().toStdString(); }
void Set_Data(const QImage& picture) { QGuiApplication::clipboard()->setImage(picture); }
QImage Get_Data() { return QGuiApplication::clipboard()->image(); }

}  // namespace ui::Clipboard
