// One page drawn on both print targets: the preview's page picture and the printer's PDF file, turned
// into a picture; the frame, the text line and the pictures lie where their twips put them on both.
#include "Pdf_pages.h"
#include "Test_dialogs.h"
#include "platform/printer/Page_image.h"
#include "platform/printer/System_printer.h"
#include "platform/vb/VbError.h"

#include <QPageSize>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>

namespace {

constexpr double Pixel = 15;  // twips per pixel of the preview, and of a 96 dpi picture of the PDF

QImage Filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The page both targets draw; the text's height comes back.
double Draw_Test_Page(printer::Print_target& target) {
    target.DrawWidth(2);
    target.Box(600, 300, 11300, 16000);
    target.FontName("Arial");
    target.FontSize(16);
    target.CurrentX(1000);
    target.CurrentY(2000);
    target.Print("Results for Heat: 7");
    target.PaintPicture(Filled(40, 20, Qt::red), 3000, 5000, 3000, 1500);
    target.PaintPicture(Filled(10, 10, Qt::blue), 8000, 8000);  // 150 x 150 twips at its own size
    return target.TextHeight("Results for Heat: 7");
}

void Expect_Test_Page(const QImage& page, double text_height) {
    ASSERT_FALSE(page.isNull());
    // The frame's four sides, and nothing just inside it.
    EXPECT_TRUE(Ink_In(page, Twips_Rect(570, 8000, 630, 8100, Pixel)));
    EXPECT_TRUE(Ink_In(page, Twips_Rect(11270, 8000, 11330, 8100, Pixel)));
    EXPECT_TRUE(Ink_In(page, Twips_Rect(5000, 270, 5100, 330, Pixel)));
    EXPECT_TRUE(Ink_In(page, Twips_Rect(5000, 15970, 5100, 16030, Pixel)));
    EXPECT_FALSE(Ink_In(page, Twips_Rect(700, 8000, 900, 8100, Pixel)));
    // The text line below its position, not above it, and not past the line's height.
    EXPECT_TRUE(Ink_In(page, Twips_Rect(1000, 2000, 4000, 2000 + text_height, Pixel)));
    EXPECT_FALSE(Ink_In(page, Twips_Rect(900, 1500, 4000, 1960, Pixel)));
    EXPECT_FALSE(Ink_In(page, Twips_Rect(900, 2000 + text_height + 30, 4000, 2000 + text_height + 400, Pixel)));
    EXPECT_FALSE(Ink_In(page, Twips_Rect(700, 2000, 960, 2000 + text_height, Pixel)));
    // The stretched picture fills its rectangle; the other is painted at its own size.
    EXPECT_TRUE(Mostly(page, Twips_Rect(3100, 5100, 5900, 6400, Pixel), Qt::red));
    EXPECT_FALSE(Mostly(page, Twips_Rect(6100, 5100, 6400, 6400, Pixel), Qt::red));
    EXPECT_TRUE(Mostly(page, Twips_Rect(8020, 8020, 8130, 8130, Pixel), Qt::blue));
    EXPECT_FALSE(Mostly(page, Twips_Rect(8200, 8020, 8400, 8130, Pixel), Qt::blue));
}

TEST(Print_target, print_moves_down_one_line_per_line_and_back_to_the_left_edge) {
    printer::Page_image page(11904, 16834, Pixel);
    page.FontSize(10);
    const double line = page.TextHeight("x");
    ASSERT_GT(line, 150);  // a 10-point line is more than 10 points (200 twips) with its spacing...
    ASSERT_LT(line, 350);
    EXPECT_DOUBLE_EQ(page.TextHeight("a\r\nb"), 2 * line);
    page.CurrentX(500);
    page.CurrentY(1000);
    page.Print("Results");
    EXPECT_EQ(page.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(page.CurrentY(), 1000 + line);
    page.Print("\r\n");
    EXPECT_DOUBLE_EQ(page.CurrentY(), 1000 + 3 * line);
    page.FontSize(20);
    EXPECT_NEAR(page.TextHeight("x"), 2 * line, 2);
    const double wide = page.TextWidth("Results");
    page.FontSize(10);
    EXPECT_NEAR(wide / page.TextWidth("Results"), 2, 0.02);
}

TEST(Print_target, the_preview_page_and_the_pdf_show_the_same_page) {
    printer::Page_image preview(11904, 16834, Pixel);
    const double text_height = Draw_Test_Page(preview);
    const QImage shown = preview.Image();
    EXPECT_EQ(shown.size(), QSize(794, 1123));
    Expect_Test_Page(shown, text_height);

    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    ASSERT_TRUE(Pdftoppm_Available()) << "pdftoppm (poppler-utils) is needed";
    const std::string folder = Test_folder() + "/pdf";
    std::filesystem::create_directories(folder);
    printer::System_printer paper(folder);
    paper.Job_Name("Vantorel Heat: 7 Results");
    paper.Page({11904, 16834});
    EXPECT_FALSE(paper.Printing());
    Draw_Test_Page(paper);
    EXPECT_TRUE(paper.Printing());
    EXPECT_EQ(paper.End_Doc(), 0);
    EXPECT_FALSE(paper.Printing());
    ASSERT_EQ(std::filesystem::path(paper.Output_File()).parent_path(), folder);
    EXPECT_EQ(std::filesystem::path(paper.Output_File()).filename().string().rfind("Vantorel Heat_ 7 Results ", 0), 0u);
    const QImage printed = Pdf_Page_Image(paper.Output_File(), 96);
    EXPECT_NEAR(printed.width(), 794, 1);
    EXPECT_NEAR(printed.height(), 1122, 1);
    Expect_Test_Page(printed, text_height);
    Keep_Page(printed, "test-page-pdf");
    Keep_Page(shown, "test-page-preview");
}

TEST(Print_target, a_page_larger_than_sixteen_bits_of_twips_prints_at_its_size) {
    const printer::Page_size a2 = printer::Page_Twips(QPageSize(QPageSize::A2));
    EXPECT_EQ(a2.Width, 23811);
    EXPECT_EQ(a2.Height, 33676);
    printer::Page_image preview(a2.Width, a2.Height, Pixel);
    preview.DrawWidth(2);
    preview.Box(1000, 1000, 22000, 33000);
    EXPECT_TRUE(Ink_In(preview.Image(), Twips_Rect(5000, 32970, 5100, 33030, Pixel)));

    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    const std::string folder = Test_folder() + "/pdf";
    std::filesystem::create_directories(folder);
    printer::System_printer paper(folder);
    paper.Page(a2);
    paper.DrawWidth(2);
    paper.Box(1000, 1000, 22000, 33000);
    EXPECT_EQ(paper.End_Doc(), 0);
    const QImage printed = Pdf_Page_Image(paper.Output_File(), 96);
    EXPECT_NEAR(printed.height(), 33676 / Pixel, 1);
    EXPECT_TRUE(Ink_In(printed, Twips_Rect(5000, 32970, 5100, 33030, Pixel)));
}

TEST(Print_target, without_a_printer_or_a_folder_for_the_pdf_drawing_is_a_printer_error) {
    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    printer::System_printer nowhere(Test_folder() + "/missing");
    try {
        nowhere.Box(0, 0, 10, 10);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 482);
    }
    EXPECT_FALSE(nowhere.Printing());
}

TEST(Print_target, an_aborted_document_leaves_no_file_and_the_next_one_starts_afresh) {
    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    const std::string folder = Test_folder() + "/pdf";
    std::filesystem::create_directories(folder);
    printer::System_printer paper(folder);
    paper.Box(100, 100, 200, 200);
    ASSERT_TRUE(paper.Printing());
    const std::string first = paper.Output_File();
    paper.Abort_Doc();
    EXPECT_FALSE(paper.Printing());
    EXPECT_FALSE(std::filesystem::exists(first));
    paper.Box(100, 100, 200, 200);
    EXPECT_EQ(paper.End_Doc(), 0);
    EXPECT_TRUE(std::filesystem::exists(paper.Output_File()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

// A PDF file that cannot be saved whole is told as a failure, and no part of it stands under its name.
TEST(Print_target, a_pdf_file_that_cannot_be_saved_fails_and_leaves_nothing_under_its_name) {
    if (!printer::Default_Printer_Name().empty()) GTEST_SKIP() << "a printer is installed here";
    const std::string folder = Test_folder() + "/pdf";
    for (const Pdf_refusal& c : Pdf_Refusals(folder)) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        printer::System_printer paper(folder);
        paper.Box(100, 100, 2000, 2000);
        const std::string file = paper.Output_File();
        c.refuse(file);
        EXPECT_EQ(paper.End_Doc(), c.error);
        EXPECT_FALSE(paper.Printing());
        EXPECT_EQ(paper.Output_File(), file);
        EXPECT_FALSE(std::filesystem::is_regular_file(file));
        if (std::filesystem::is_directory(folder)) {  // no temporary file stays beside it
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()),
                      c.error == EISDIR ? 1 : 0);
        }
    }
    // With the folder well again the next document is saved whole.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    printer::System_printer paper(folder);
    paper.Box(100, 100, 2000, 2000);
    ASSERT_EQ(paper.End_Doc(), 0);
    std::ifstream in(paper.Output_File(), std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

TEST(Print_target, a_page_picture_keeps_its_drawing_when_it_grows_and_takes_a_pictures_size) {
    printer::Page_image scratch(300, 300, 3);
    scratch.BackColor(224 | 224 << 8 | 224 << 16);
    scratch.PaintPicture(Filled(10, 10, Qt::red), 0, 0, 300, 300);
    scratch.Resize(600, 300);
    QImage image = scratch.Image();
    EXPECT_EQ(image.size(), QSize(200, 100));
    EXPECT_TRUE(Mostly(image, QRect(10, 10, 80, 80), Qt::red));
    EXPECT_TRUE(Mostly(image, QRect(110, 10, 80, 80), QColor(224, 224, 224)));
    scratch.Picture(Filled(20, 10, Qt::blue));  // 20 x 10 screen pixels of 15 twips
    EXPECT_EQ(scratch.ScaleWidth(), 300);
    EXPECT_EQ(scratch.ScaleHeight(), 150);
    EXPECT_TRUE(Mostly(scratch.Image(), QRect(0, 0, 100, 50), Qt::blue));
    scratch.Picture(QImage());  // no picture: the size stays
    EXPECT_EQ(scratch.ScaleWidth(), 300);
    EXPECT_TRUE(Mostly(scratch.Image(), QRect(0, 0, 100, 50), QColor(224, 224, 224)));
}

}  // namespace
