#include "Dialog_service.h"

#include <cstdio>

namespace ui {

namespace {

// Without a user interface: say what would have been asked, and take the safe answer.
class Console_dialogs final : public Dialog_service {
public:
    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), prompt.c_str());
        switch (buttons & 7) {
        case vbOKCancel:
        case vbYesNoCancel:
        case vbRetryCancel: return vbCancel;
        case vbYesNo: return vbNo;
        case vbAbortRetryIgnore: return vbAbort;
        default: return vbOK;
        }
    }
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title, const std::string&) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), prompt.c_str());
        return std::nullopt;
    }
    std::optional<std::string> Open_File(const File_Request&) override { return std::nullopt; }
    std::optional<std::string> Browse_Folder(const std::string&, const std::string&) override { return std::nullopt; }
};

Console_dialogs console;
Dialog_service* current = &console;

}  // namespace

void Set_Dialog_Service(Dialog_service* service) { current = service ? service : &console; }

Dialog_service& Dialogs() { return *current; }

int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) {
    return current->Message_Box(prompt, buttons, title.empty() ? Program_Title : title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& default_text) {
    return InputBox_Answer(prompt, title, default_text).value_or(std::string());
}

std::optional<std::string> InputBox_Answer(const std::string& prompt, const std::string& title,
                                           const std::string& default_text) {
    return current->Input_Box(prompt, title.empty() ? Program_Title : title, default_text);
}

}  // namespace ui
