#include "Test_dialogs.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(Shared_procedures, Truth_texts) {
    EXPECT_EQ(Non_dependant::Bool_To_Text(true), "True");
    EXPECT_EQ(Non_dependant::Bool_To_Text(false), "False");
    struct Row {
        const char* text;
        bool value;
    } rows[] = {{"True", true}, {"true", false}, {"TRUE", false}, {"t", false}, {"-1", false}, {"", false}, {" True", false}};
    for (const auto& r : rows) EXPECT_EQ(Non_dependant::Text_To_Bool(r.text), r.value) << r.text;
}

TEST(Shared_procedures, Kill_file_deletes_read_only_files_and_ignores_missing_ones) {
    std::vector<std::string> reported;
    vb::Set_Error_Reporter([&](const std::string&, int32_t number, int32_t, const std::string& location, const std::string&) {
        reported.push_back(std::to_string(number) + " " + location);
    });
    std::string file = Test_folder() + "/ro.txt";
    std::ofstream(file) << "x";
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    Module_dependant::Kill_File(file);
    EXPECT_FALSE(std::filesystem::exists(file));
    Module_dependant::Kill_File(file);  // missing: no error
    EXPECT_TRUE(reported.empty());
    std::filesystem::create_directory(Test_folder() + "/dir");
    Module_dependant::Kill_File(Test_folder() + "/dir");
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "70 Kill_File of Module Module_dependant");
    vb::Set_Error_Reporter(nullptr);
}

}  // namespace
