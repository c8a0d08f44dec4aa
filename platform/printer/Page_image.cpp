#include "Page_image.h"

#include "platform/vb/VbError.h"

#include <algorithm>
#include <cmath>

namespace printer {

namespace {

QSize Pixels_Of(int32_t width, int32_t height, double pixel_twips) {
    return {std::max(1, static_cast<int>(std::ceil(width / pixel_twips))),
            std::max(1, static_cast<int>(std::ceil(height / pixel_twips)))};
}

}  // namespace

Page_image::Page_image(int32_t width, int32_t height, double pixel_twips)
    : width_(std::max(1, width)), height_(std::max(1, height)), pixel_twips_(pixel_twips) {
    image_ = QImage(Pixels_Of(width_, height_, pixel_twips_), QImage::Format_RGB32);
    if (image_.isNull()) vb::Raise(vb::Err_Out_Of_Memory);
    Fill();
}

Page_image::~Page_image() { End_Painter(); }

void Page_image::End_Painter() {
    if (painter_) painter_->end();
    painter_.reset();
}

QPainter& Page_image::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing);
        painter_->setRenderHint(QPainter::TextAntialiasing);
        painter_->scale(1.0 / pixel_twips_, 1.0 / pixel_twips_);
    }
    return *painter_;
}

void Page_image::Fill() {
    End_Painter();
    image_.fill(Colour_Of(back_colour_));
    if (!picture_.isNull()) {
        QPainter painter(&image_);
        painter.scale(1.0 / pixel_twips_, 1.0 / pixel_twips_);
        painter.drawImage(QRectF(0, 0, picture_.width() * Twips_Per_Pixel(), picture_.height() * Twips_Per_Pixel()),
                          picture_);
    }
}

void Page_image::Resize(int32_t width, int32_t height) {
    End_Painter();
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    QImage fresh(Pixels_Of(width_, height_, pixel_twips_), QImage::Format_RGB32);
    if (fresh.isNull()) vb::Raise(vb::Err_Out_Of_Memory);
    fresh.fill(Colour_Of(back_colour_));
    QPainter painter(&fresh);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = std::move(fresh);
}

void Page_image::BackColor(int32_t colour) {
    back_colour_ = colour & 0xFFFFFF;
    Cls();
}

void Page_image::Picture(const QImage& picture) {
    picture_ = picture;
    if (!picture_.isNull())
        Resize(static_cast<int32_t>(std::lround(picture_.width() * Twips_Per_Pixel())),
               static_cast<int32_t>(std::lround(picture_.height() * Twips_Per_Pixel())));
    Cls();
}

void Page_image::Cls() {
    Print_target::Cls();
    Fill();
}

QImage Page_image::Image() {
    End_Painter();
    return image_;
}

}  // namespace printer
