#pragma once
// The printing state and procedures of Module_Vantorel: the printer count and page size, the page box
// every printout keeps to, the print target (the system printer or the preview's page picture), the
// page footer, the event logo, and the end of a printout.
#include "platform/printer/Print_target.h"

#include <cstdint>
#include <string>
#include <utility>

namespace printer {
class System_printer;
}

namespace Module_Vantorel {

// Installed printers; 0 means none.
extern int16_t Printers_Num;
// The system printer's page in twips (11904 x 16834 without one); 32-bit, so large paper prints at its size.
extern int32_t Printer_Width;
extern int32_t Printer_Height;
// The page box: 5 % in from the left and right, 2 % from the top and 5 % from the bottom.
extern float Print_Left;
extern float Print_Top;
extern float Print_Right;
extern float Print_Bottom;
// Printouts go to the preview's page picture and end in the preview window.
extern bool Print_Preview_Mode;
// Where the printouts draw now; null before the results window has chosen.
extern printer::Print_target* Print_Target;
// The printout being made; the printer's document name.
extern std::string Print_Job_Title;
// The application title: the printout's title while it is made, App_Title again when a printer document ends.
extern std::string Application_Title;
// The event logo and whether it was loaded, so that the page header shows it instead of the event name.
extern std::string Event_Logo_Path;
extern bool Event_Logo_Loaded;
// Where a printout's body starts, below the page header.
extern int32_t Header_Bottom;

// The footer line: the review window's load composes what it names besides the time, which is that of
// each printing.
struct Print_Footer {
    bool Made = false;
    std::string Program, Version, Computer, Printer;
    // "Printed by <program> at: <time> /<version> /Computer: <computer>", then " /Printer: <printer>"
    // when a printer is named; "" until made.
    std::string Text(const std::string& printed_at) const;
};
extern Print_Footer Print_Footer_Text;

// Counts the printers and reads the default printer's page; 11904 x 16834 twips without one or after
// any error.
void Check_Printer();
// The page box from the page size.
void Set_Page_Box();
// The system printer, printing to PDF files in the export folder (the application-data folder while
// there is none) when no printer is installed.
printer::System_printer& System_Printer();
// Starts a printout: what a printout that stopped after an error left on the printer or the preview's
// page is thrown away, so it never shows under the next one; the printout's title becomes the
// application title and the printer's document name.
void Begin_Printout(const std::string& title);
// Ends the printout: the preview window shows the page, or the printer document goes to the printer
// (with no printer installed, a PDF file, whose name the operator is told; a file that could not be
// saved is told as such, with the reason).
void Printer_End();

// Tells the operator where a printout went when no printer is installed (the PDF file); nothing for
// a printout that went to a printer ("").
void Tell_Pdf_File(const std::string& file);
// Tells the operator that a printout did not end well, and why (`error` is an errno): the PDF file that
// could not be saved, or the document the printer did not take (`file` "").
void Tell_Print_Failure(const std::string& file, int error);

// The preview window's outer size for a page, in twips: the page's own, or, when the work area is less
// high, as high as the work area with the page's proportions.
printer::Page_size Preview_Window_Size(printer::Page_size page, int32_t work_height);

// One part of a time of day in ms: "h" (hours mod 24), "m", "s" toward zero, "t" (hundredths) toward
// minus infinity; 0 for any other part.
int16_t Mill_Time_Part(const std::string& Part, int32_t Mill);

}  // namespace Module_Vantorel

namespace Results_export {
struct Result_Row;
}

namespace Module_Vantorel {

// One row of the result sheet: " ", the place right-aligned in 3 characters, the lane in 6, two blanks,
// then the time and two blanks and the difference, or the status in words (a caption longer than its
// width is printed whole).
std::string Result_Sheet_Line(const Results_export::Result_Row& row);
// The file block's lines of a capture file path: "File name: " and the path, cut after 60 characters,
// the rest on the second line ("" when it fits).
std::pair<std::string, std::string> File_Name_Lines(const std::string& path);

}  // namespace Module_Vantorel
