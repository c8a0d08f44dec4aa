#include "Pdf_pages.h"
#include "Test_dialogs.h"
#include "platform/printer/Printer.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(Printer, without_a_printer_the_document_is_a_pdf_file_in_the_given_folder) {
    if (printer::Printer_Installed()) GTEST_SKIP() << "a printer is installed here";
    std::string folder = Test_folder() + "/out";
    std::filesystem::create_directories(folder);
    printer::Printer printer(folder, "Vantorel_HDMI");
    ASSERT_TRUE(printer.Available());
    printer.Set_Current_X(100);
    printer.Set_Current_Y(100);
    printer.Set_Font_Size(24);
    printer.Print("Report\r\n");
    printer.Set_Font_Italic(true);
    for (int i = 0; i < 200; ++i) printer.Print("line " + std::to_string(i));  // runs onto a second page
    ASSERT_EQ(printer.End_Doc(), 0);

    ASSERT_FALSE(printer.Output_File().empty());
    EXPECT_EQ(std::filesystem::path(printer.Output_File()).parent_path(), folder);
    std::ifstream pdf(printer.Output_File(), std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    printer::Printer nowhere(Test_folder() + "/missing", "Vantorel_HDMI");
    EXPECT_FALSE(nowhere.Available());
}

TEST(Printer, documents_printed_within_one_second_keep_files_of_their_own) {
    if (printer::Printer_Installed()) GTEST_SKIP() << "a printer is installed here";
    std::string folder = Test_folder() + "/out";
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    for (const char* text : {"first", "second", "third"}) {
        printer::Printer printer(folder, "Vantorel_HDMI");
        printer.Print(text);
        printer.End_Doc();
        files.push_back(printer.Output_File());
    }
    EXPECT_NE(files[0], files[1]);
    EXPECT_NE(files[1], files[2]);
    EXPECT_NE(files[0], files[2]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 3);
}

// The report's PDF is saved whole or not at all: a folder that refuses it is told as the failure it is,
// and nothing stands under the name.
TEST(Printer, a_pdf_file_that_cannot_be_saved_fails_and_leaves_nothing_under_its_name) {
    if (printer::Printer_Installed()) GTEST_SKIP() << "a printer is installed here";
    const std::string folder = Test_folder() + "/report";
    for (const Pdf_refusal& c : Pdf_Refusals(folder)) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        printer::Printer printer(folder, "Vantorel_HDMI");
        printer.Print("Report");
        const std::string file = printer.Output_File();
        ASSERT_FALSE(file.empty());
        c.refuse(file);
        EXPECT_EQ(printer.End_Doc(), c.error);
        EXPECT_EQ(printer.Output_File(), file);
        EXPECT_FALSE(std::filesystem::is_regular_file(file));
        EXPECT_EQ(printer::Print_Failure_Text(file, c.error).rfind("The printout could not be saved as " + file, 0), 0u);
    }
}

}  // namespace
