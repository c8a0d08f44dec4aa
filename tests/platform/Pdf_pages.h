#pragma once
// Pages as pictures for the print tests: a PDF file's first page through pdftoppm (package poppler-utils),
// and questions about where a picture has ink; the ways a folder refuses a PDF file when it is saved.
#include <QImage>
#include <QRect>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// The first page of the PDF file at `dpi` dots per inch; a null image when pdftoppm fails.
inline QImage Pdf_Page_Image(const std::string& pdf, int dpi) {
    const std::string out = pdf + "-page";
    const std::string command =
        "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" + pdf + "' '" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return QImage(QString::fromStdString(out + ".png"));
}

inline bool Pdftoppm_Available() { return std::system("command -v pdftoppm >/dev/null 2>&1") == 0; }

// A pixel darker than mid grey (ink) in the rectangle, cut to the picture.
inline bool Ink_In(const QImage& image, QRect area) {
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

// The colour most of the rectangle's pixels are near (each channel within 40), or false.
inline bool Mostly(const QImage& image, QRect area, QColor colour) {
    area &= image.rect();
    int near = 0, all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++all) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= 40 && std::abs(c.green() - colour.green()) <= 40 &&
                std::abs(c.blue() - colour.blue()) <= 40)
                ++near;
        }
    return all > 0 && near * 4 >= all * 3;
}

// The rectangle of a page area in twips at `twips_per_pixel`.
inline QRect Twips_Rect(double left, double top, double right, double bottom, double twips_per_pixel) {
    return QRect(QPoint(static_cast<int>(left / twips_per_pixel), static_cast<int>(top / twips_per_pixel)),
                 QPoint(static_cast<int>(right / twips_per_pixel), static_cast<int>(bottom / twips_per_pixel)));
}

// With VANTOREL_PRINT_PAGES naming a folder, the page is kept there as "<name>.png" to be looked at.
inline void Keep_Page(const QImage& page, const std::string& name) {
    if (const char* folder = std::getenv("VANTOREL_PRINT_PAGES"))
        page.save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

// The text of the PDF file's pages, laid out in lines as printed (pdftotext -layout).
inline std::string Pdf_Text(const std::string& pdf) {
    const std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        pclose(pipe);
    }
    // The "fi" ligature as its two letters.
    for (size_t at; (at = text.find("\xEF\xAC\x81")) != std::string::npos;) text.replace(at, 3, "fi");
    return text;
}

// Some pixel of the rectangle is near the colour (each channel within 40).
inline bool Some(const QImage& image, QRect area, QColor colour) {
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= 40 && std::abs(c.green() - colour.green()) <= 40 &&
                std::abs(c.blue() - colour.blue()) <= 40)
                return true;
        }
    return false;
}

// A way the PDF folder refuses the file between its first drawing and its save, and the errno the save
// then gives; reliable also for root, whom permissions do not stop.
struct Pdf_refusal {
    const char* what;
    std::function<void(const std::string& file)> refuse;
    int error;
};

inline std::vector<Pdf_refusal> Pdf_Refusals(const std::string& folder) {
    return {
        {"the folder is removed", [folder](const std::string&) { std::filesystem::remove_all(folder); }, ENOENT},
        {"a folder stands at the file's name", [](const std::string& file) { std::filesystem::create_directory(file); },
         EISDIR},
        {"a file stands where the folder was",
         [folder](const std::string&) {
             std::filesystem::remove_all(folder);
             std::ofstream(folder) << "not a folder";
         },
         ENOTDIR},
    };
}
