#pragma once
// The system clipboard: text and pictures.
#include <QImage>

#include <string>

namespace ui::Clipboard {

void Clear();
void Set_Text(const std::string& text);
std::string Get_Text();
void Set_Data(const QImage& picture);
QImage Get_Data();

}  // namespace ui::Clipboard
