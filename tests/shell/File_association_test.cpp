#include "Test_dialogs.h"
#include "platform/fs/File_system.h"
#include "shell/File_Commands.h"
#include "shell/Module_Vantorel.h"

#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace stdfs = std::filesystem;

std::string Read(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(File_association, The_kd3_kind_gets_a_mime_package_and_a_desktop_entry_that_opens_it) {
    std::string data = Test_folder() + "/data";
    std::string exe = fs::Executable_Path();
    for (int run = 0; run < 2; ++run) {  // a second run leaves the same files
        Test_dialogs::Instance().Answer(ui::vbOK);
        Module_Vantorel::Associate_KD3_Extension();
    }
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].prompt, "Associated the file extension .kd3 with this application!");

    EXPECT_EQ(Read(data + "/mime/packages/vantorel-kd3_ext.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-kd3_ext\">\n"
              "    <comment>Vantorel data file</comment>\n"
              "    <glob pattern=\"*.kd3\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
    EXPECT_EQ(Read(data + "/applications/vantorel-kd3_ext.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Vantorel_HDMI\n"
              "Comment=Vantorel data file\n"
              "Exec=\"" + exe + "\" %f\n"
              "Icon=" + stdfs::path(exe).parent_path().string() + "/Vantorel_free.ico\n"
              "MimeType=application/x-kd3_ext;\n"
              "NoDisplay=true\n"
              "Terminal=false\n");

    // Where the desktop's tool is installed, the compiled database that xdg-mime reads knows the kind.
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
        EXPECT_NE(Read(data + "/mime/globs2").find("application/x-kd3_ext:*.kd3"), std::string::npos);
    }
}

TEST(File_association, The_command_quotes_a_path_with_special_characters) {
    std::string class_name = "demo_ext";
    ASSERT_TRUE(File_Commands::Create_File_Association("demo", "/opt/my app/a\"b\\c$d%e", class_name, "A & B", "/i.png"));
    EXPECT_EQ(class_name, "demo_ext\\shell\\open\\command");
    std::string entry = Read(File_Commands::Desktop_Entry_Path("demo_ext"));
    EXPECT_NE(entry.find("Exec=\"/opt/my app/a\\\\\"b\\\\\\\\c\\\\$d%%e\" %f\n"), std::string::npos) << entry;
    std::string package = Read(File_Commands::Mime_Package_Path("demo_ext"));
    EXPECT_NE(package.find("<comment>A &amp; B</comment>"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.demo\"/>"), std::string::npos);
}

TEST(File_association, A_data_folder_that_cannot_be_made_is_reported_and_not_confirmed) {
    std::string blocked = Test_folder() + "/blocked";
    std::ofstream(blocked) << "a file where the data folder should be";
    setenv("XDG_DATA_HOME", blocked.c_str(), 1);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Module_Vantorel::Associate_KD3_Extension();
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].prompt, "Error: Creating Key!");
    EXPECT_EQ(shown[1].prompt, "Error Setting String Value!");

    std::string class_name = "kd3_ext";
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_FALSE(File_Commands::Create_File_Association(".kd3", "/x", class_name, "d", "/i"));
    EXPECT_EQ(class_name, "kd3_ext");  // the writer stopped before the command
}

}  // namespace
