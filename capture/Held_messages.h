#pragma once
// What the window thread would say while it holds the recording lock: the store's messages and error
// reports wait, in order, until the lock is given back. The capture worker takes that lock for every
// frame, so a message box open under it would stop every heat's recording until the operator closed it.
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"

#include <optional>
#include <string>
#include <vector>

class Held_messages final : public ui::Dialog_service {
public:
    // From now on, on this thread, messages and error reports are held.
    Held_messages();
    // Puts back what it replaced; shows nothing.
    ~Held_messages() override;
    Held_messages(const Held_messages&) = delete;
    Held_messages& operator=(const Held_messages&) = delete;

    // Puts back the dialog service and the error report it replaced: what comes now is not held.
    void Stop_Holding();
    // Stops holding, then shows what was held, in order. Call once the lock is given back.
    void Show();

    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override;
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) override;
    std::optional<std::string> Open_File(const ui::File_Request& request) override;
    std::optional<std::string> Browse_Folder(const std::string& title, const std::string& start_folder) override;

private:
    struct Held {
        std::optional<VbError> error;  // an error report; otherwise a message
        std::string text;              // the message's prompt, or the report's location
        std::string extra;             // the message's title, or the report's extra text
        int32_t buttons = 0;
    };
    // Nothing here can wait for an answer: it is taken as the box's safe button and logged.
    void Not_Asked(const std::string& prompt);

    ui::Dialog_service& outer_;
    std::optional<vb::Report_Redirect> redirect_;
    std::vector<Held> held_;
};
