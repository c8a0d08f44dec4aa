#pragma once
// The dialog service of every test: a script of answers, and a record of what was shown. A dialog
// that the script does not expect fails the running test, and so does an answer left unused at its
// end (a death test's child uses its answers in its own copy: reset the script after EXPECT_EXIT).
#include "platform/ui/Dialog_service.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class Test_dialogs final : public ui::Dialog_service {
public:
    enum class Kind { message, input, open_file, folder };
    struct Shown {
        Kind kind;
        std::string prompt;
        std::string title;
        int32_t buttons = 0;
        std::string filter = {};  // of an open-file dialog
        std::string start_folder = {};  // of a file or folder dialog
    };

    static Test_dialogs& Instance();

    // The answer of the next dialog, in the order the test expects them.
    void Answer(int32_t button);
    void Answer_Input(std::string text);
    // The next input box is cancelled.
    void Cancel_Input();
    void Answer_File(std::optional<std::string> path);
    void Answer_Folder(std::optional<std::string> path);

    const std::vector<Shown>& Shown_Dialogs() const { return shown_; }
    // The prompts of the dialogs shown, in order.
    std::vector<std::string> Shown_Prompts() const;
    size_t Unused_Answers() const { return answers_.size(); }
    // Fails the running test when answers are left for dialogs that never appeared, and drops them.
    void Expect_All_Answers_Used();
    void Reset();

    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override;
    std::optional<std::string> Input_Box(const std::string& prompt, const std::string& title, const std::string& default_text) override;
    std::optional<std::string> Open_File(const ui::File_Request& request) override;
    std::optional<std::string> Browse_Folder(const std::string& title, const std::string& start_folder) override;

private:
    struct Scripted {
        Kind kind;
        int32_t button = 0;
        std::optional<std::string> text;
    };
    std::optional<Scripted> Next(Kind kind, const std::string& prompt);

    std::deque<Scripted> answers_;
    std::vector<Shown> shown_;
};

// The fresh folder of the running test; XDG_DATA_HOME points into it.
std::string Test_folder();
