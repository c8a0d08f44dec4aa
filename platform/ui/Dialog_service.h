#pragma once
// The message, input, file and folder dialogs of the system. The program installs the Qt service;
// a test installs a script of answers and reads back what was shown. Data classes call MsgBox here
// without linking any widget.
#include <cstdint>
#include <optional>
#include <string>

namespace ui {

// Buttons, icons and default button of a message box, added together as the caller needs.
enum : int32_t {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512, vbSystemModal = 4096,
};
// The button a message box was closed with.
enum : int32_t { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The title of every message box that names none.
inline constexpr const char* Program_Title = "Vantorel_HDMI";

struct File_Request {
    std::string title;
    std::string filter;       // "Description|pattern|Description|pattern"
    std::string initial_dir;
    std::string file_name;
};

class Dialog_service {
public:
    virtual ~Dialog_service() = default;
    // Returns the button pressed (vbOK ...). `title` is never empty here.
    virtual int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) = 0;
    // The text entered; nothing when cancelled.
    virtual std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title, const std::string& default_text) = 0;
    // The chosen file's path; nothing when cancelled.
    virtual std::optional<std::string> Open_File(const File_Request& request) = 0;
    // The chosen folder; nothing when cancelled.
    virtual std::optional<std::string> Browse_Folder(const std::string& title, const std::string& start_folder) = 0;
};

// Installs the service (not owned); nullptr returns to the console service, which shows the prompt
// on stderr and answers as a plain OK or Cancel would.
void Set_Dialog_Service(Dialog_service* service);
Dialog_service& Dialogs();

int32_t MsgBox(const std::string& prompt, int32_t buttons = vbOKOnly, const std::string& title = {});
// Cancel answers "".
std::string InputBox(const std::string& prompt, const std::string& title = {}, const std::string& default_text = {});
// Cancel answers nothing, so a caller can keep what it has while an explicit empty answer still clears.
std::optional<std::string> InputBox_Answer(const std::string& prompt, const std::string& title = {},
                                           const std::string& default_text = {});

}  // namespace ui
