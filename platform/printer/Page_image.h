#pragma once
// A page picture: a print target drawn on an image that keeps what is drawn, so that its image can be
// shown or painted elsewhere. The print preview's page and the scratch in which page blocks are composed.
#include "Print_target.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace printer {

class Page_image : public Print_target {
public:
    // `pixel_twips`: twips per pixel of the image, its resolution.
    Page_image(int32_t width, int32_t height, double pixel_twips);
    ~Page_image() override;

    int32_t ScaleWidth() const override { return width_; }
    int32_t ScaleHeight() const override { return height_; }
    double Pixel_Twips() const { return pixel_twips_; }

    // A new size in twips: what was drawn stays at the top left, new area takes the background colour.
    void Resize(int32_t width, int32_t height);
    int32_t BackColor() const { return back_colour_; }
    // Sets the background colour and clears to it.
    void BackColor(int32_t colour);
    // The picture under the drawing, at the top-left corner. A picture takes its own size (its pixels
    // times the screen's twips per pixel); a null one leaves the size as it is. The drawing starts afresh.
    void Picture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    // The background colour and the picture again; the current position goes to 0, 0.
    void Cls() override;
    // What is drawn now.
    QImage Image();

protected:
    QPainter& Painter() override;

private:
    void End_Painter();
    void Fill();

    int32_t width_;
    int32_t height_;
    double pixel_twips_;
    int32_t back_colour_ = 0xFFFFFF;
    QImage picture_;
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace printer
