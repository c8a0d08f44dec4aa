#include "Test_dialogs.h"

#include <gtest/gtest.h>

namespace {
const char* Kind_Name(Test_dialogs::Kind k) {
    switch (k) {
    case Test_dialogs::Kind::message: return "message box";
    case Test_dialogs::Kind::input: return "input box";
    case Test_dialogs::Kind::open_file: return "open-file dialog";
    case Test_dialogs::Kind::folder: return "folder dialog";
    }
    return "dialog";
}
}  // namespace

Test_dialogs& Test_dialogs::Instance() {
    static Test_dialogs instance;
    return instance;
}

void Test_dialogs::Answer(int32_t button) { answers_.push_back({Kind::message, button, std::nullopt}); }
void Test_dialogs::Answer_Input(std::string text) { answers_.push_back({Kind::input, 0, std::move(text)}); }
void Test_dialogs::Cancel_Input() { answers_.push_back({Kind::input, 0, std::nullopt}); }
void Test_dialogs::Answer_File(std::optional<std::string> path) { answers_.push_back({Kind::open_file, 0, std::move(path)}); }
void Test_dialogs::Answer_Folder(std::optional<std::string> path) { answers_.push_back({Kind::folder, 0, std::move(path)}); }

std::vector<std::string> Test_dialogs::Shown_Prompts() const {
    std::vector<std::string> prompts;
    for (const Shown& shown : shown_) prompts.push_back(shown.prompt);
    return prompts;
}

void Test_dialogs::Expect_All_Answers_Used() {
    if (answers_.empty()) return;
    ADD_FAILURE() << answers_.size() << " answer(s) queued for dialogs that never appeared, the first a "
                  << Kind_Name(answers_.front().kind);
    answers_.clear();
}

void Test_dialogs::Reset() {
    answers_.clear();
    shown_.clear();
}

std::optional<Test_dialogs::Scripted> Test_dialogs::Next(Kind kind, const std::string& prompt) {
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected " << Kind_Name(kind) << ": \"" << prompt << "\"";
        return std::nullopt;
    }
    Scripted next = answers_.front();
    answers_.pop_front();
    if (next.kind != kind) {
        ADD_FAILURE() << "expected a " << Kind_Name(next.kind) << ", got a " << Kind_Name(kind) << ": \"" << prompt << "\"";
        return std::nullopt;
    }
    return next;
}

int32_t Test_dialogs::Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) {
    shown_.push_back({Kind::message, prompt, title, buttons});
    auto next = Next(Kind::message, prompt);
    return next ? next->button : ui::vbCancel;
}

std::optional<std::string> Test_dialogs::Input_Box(const std::string& prompt, const std::string& title, const std::string&) {
    shown_.push_back({Kind::input, prompt, title, 0});
    auto next = Next(Kind::input, prompt);
    return next ? next->text : std::nullopt;
}

std::optional<std::string> Test_dialogs::Open_File(const ui::File_Request& request) {
    shown_.push_back({Kind::open_file, request.title, request.title, 0, request.filter, request.initial_dir});
    auto next = Next(Kind::open_file, request.title);
    return next ? next->text : std::nullopt;
}

std::optional<std::string> Test_dialogs::Browse_Folder(const std::string& title, const std::string& start_folder) {
    shown_.push_back({Kind::folder, title, title, 0, {}, start_folder});
    auto next = Next(Kind::folder, title);
    return next ? next->text : std::nullopt;
}
