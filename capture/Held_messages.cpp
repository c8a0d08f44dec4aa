#include "Held_messages.h"

#include "shell/Module_Vantorel.h"

Held_messages::Held_messages() : outer_(ui::Dialogs()) {
    redirect_.emplace([this](const VbError& e, std::string_view location, std::string_view extra) {
        held_.push_back({e, std::string(location), std::string(extra)});
    });
    ui::Set_Dialog_Service(this);
}

Held_messages::~Held_messages() { Stop_Holding(); }

void Held_messages::Stop_Holding() {
    if (!redirect_) return;
    redirect_.reset();
    ui::Set_Dialog_Service(&outer_);
}

void Held_messages::Show() {
    Stop_Holding();
    std::vector<Held> held;
    held.swap(held_);
    for (const Held& h : held) {
        if (h.error)
            vb::Report_Error(*h.error, h.text, h.extra);
        else
            ui::MsgBox(h.text, h.buttons, h.extra);
    }
}

int32_t Held_messages::Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) {
    switch (buttons & 7) {
    case ui::vbOKOnly:
        held_.push_back({std::nullopt, prompt, title, buttons});
        return ui::vbOK;
    case ui::vbYesNo:
        Not_Asked(prompt);
        return ui::vbNo;
    case ui::vbAbortRetryIgnore:
        Not_Asked(prompt);
        return ui::vbAbort;
    default:
        Not_Asked(prompt);
        return ui::vbCancel;
    }
}

std::optional<std::string> Held_messages::Input_Box(const std::string& prompt, const std::string&,
                                                    const std::string&) {
    Not_Asked(prompt);
    return std::nullopt;
}

std::optional<std::string> Held_messages::Open_File(const ui::File_Request& request) {
    Not_Asked(request.title);
    return std::nullopt;
}

std::optional<std::string> Held_messages::Browse_Folder(const std::string& title, const std::string&) {
    Not_Asked(title);
    return std::nullopt;
}

void Held_messages::Not_Asked(const std::string& prompt) {
    Module_Vantorel::Write_Event_Log(" Not asked while recording, answered as cancelled: " + prompt);
}
