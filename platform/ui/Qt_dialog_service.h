#pragma once
// The dialogs as the operator sees them: Qt message boxes, input dialogs and file dialogs.
#include "Dialog_service.h"

namespace ui {

class Qt_dialog_service final : public Dialog_service {
public:
    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override;
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title, const std::string& default_text) override;
    std::optional<std::string> Open_File(const File_Request& request) override;
    std::optional<std::string> Browse_Folder(const std::string& title, const std::string& start_folder) override;
};

}  // namespace ui
