// Drawing frames, fields and overlays of every kind into a picture box or a device context. The frame
// in memory is decoded once into a picture (the older kinds by their DV or AVI decoder, a kd3 record
// from its JPEG) and painted scaled from any source rectangle through the store's DrawDib handle.
#include "cls_VideoFile_handler.h"

#include "platform/gdi/Gdi_blit.h"
#include "platform/graphics/Graphics.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>

namespace {

const char* const Source = "cls_VideoFile_handler";

std::string Location(const std::string& member) { return member + " of Class Module cls_VideoFile_handler"; }

int32_t Box_Width(const gdi::Picture_surface& box) { return vb::CLng(box.ScaleWidth()); }
int32_t Box_Height(const gdi::Picture_surface& box) { return vb::CLng(box.ScaleHeight()); }

bool Same_Size(const cDIBSection& a, const cDIBSection& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

}  // namespace

Older_drawing_state& cls_VideoFile_handler::Drawing() {
    if (!drawing_) drawing_ = std::make_unique<Older_drawing_state>();
    return *drawing_;
}

cDIBSection& cls_VideoFile_handler::Overlay_Picture(const std::string& name) {
    Older_drawing_state& d = Drawing();
    if (name == "source") return d.ol_source;
    if (name == "target") return d.ol_target;
    if (name == "first_frame") return d.ol_first_frame;
    vb::Raise(vb::Err_Invalid_Call, "There is no overlay picture \"" + name + "\"", Source);
}

int32_t cls_VideoFile_handler::Decoded_Frame_Of_Stream(int16_t stream) const {
    if (stream < 1 || stream > 3) vb::Raise(vb::Err_Subscript, "There is no stream " + std::to_string(stream), Source);
    return drawing_ ? drawing_->decoded_frame_of_stream[static_cast<size_t>(stream - 1)] : 0;
}

void cls_VideoFile_handler::Force_Reread_Frame() {
    if (drawing_) drawing_->decoded_frame_of_stream = {};
}

int32_t cls_VideoFile_handler::Frame_In_Memory() const { return older_ ? older_->frame_in_store : current_frame_; }

void cls_VideoFile_handler::Size_Overlay(int32_t width, int32_t height, bool name_them) {
    Older_drawing_state& d = Drawing();
    // Sized together, so that every blend of the three finds them of one size.
    d.overlay_sized = true;
    d.ol_source.Create(width, height);
    d.ol_target.Create(width, height);
    d.ol_first_frame.Create(width, height);
    if (name_them) {
        d.ol_source.ID_string("obj_DIB_OL_source");
        d.ol_target.ID_string("obj_DIB_OL_target");
        d.ol_first_frame.ID_string("obj_DIB_OL_first_frame");
    }
}

void cls_VideoFile_handler::Read_Any_Frame(int32_t frame, int16_t stream) {
    if (!Older_Open()) return Read_RGB_sample(frame, true);
    Read_Frame(frame, stream);
    Drawing().decoded_valid = false;
    // The review's read cache may no longer take the frame buffer for the frame it names.
    cached_record_ = 0;
    cached_decoded_ = false;
}

const cDIBSection* cls_VideoFile_handler::Frame_Picture() {
    if (!Older_Open()) return current_frame_ > 0 ? &frame_image_ : nullptr;
    Older_drawing_state& d = Drawing();
    if (d.decoded_valid) return &d.decoded;
    const uint8_t* data = Frame_Data_Address();
    const int32_t size = older_->kind == Older_kind_state::Kind::avi ? older_->chunk_length : older_->frame_data_size;
    video::Video_decoder& decoder = older_->decoder;
    if (!frame_available_ || !data || !decoder.Decode(data, static_cast<size_t>(size))) return nullptr;
    if ((d.decoded.Width() != decoder.Width() || d.decoded.Height() != decoder.Height()) &&
        !d.decoded.Create(decoder.Width(), decoder.Height()))
        return nullptr;
    if (!decoder.To_BGR(d.decoded.DIBSectionBitsPtr(), d.decoded.BytesPerScanLine(), d.decoded.Width(), d.decoded.Height()))
        return nullptr;
    d.decoded_valid = true;
    return &d.decoded;
}

int32_t cls_VideoFile_handler::Decode_Step(gdi::Device_context* dc, int32_t width, int32_t height, int32_t x, int32_t y,
                                           int32_t w, int32_t h) {
    const cDIBSection* picture = Frame_Picture();
    if (!picture || !dc) return last_draw_result_ = 0;
    if (w < 0) w = picture->Width();
    if (h < 0) h = picture->Height();
    // A kd3 frame is decoded into the picture that stream 1's drawing decodes into: already there.
    if (dc == picture->hDC() && width == picture->Width() && height == picture->Height()) return last_draw_result_ = 1;
    if (!draw_dib_) draw_dib_ = gdi::DrawDibOpen();
    const bool done = gdi::DrawDibDraw(draw_dib_, dc, 0, 0, width, height, &picture->pBitmapInfo()->header,
                                       picture->DIBSectionBitsPtr(), x, y, w, h, 0);
    return last_draw_result_ = done ? 1 : 0;
}

void cls_VideoFile_handler::Paint_Into(cDIBSection& picture, gdi::Picture_surface& box) {
    picture.DIB_PaintPicture(box.hDC(), 0, 0, Box_Width(box), Box_Height(box), 0, 0, gdi::SRCCOPY);
}

// ---- frames ----

void cls_VideoFile_handler::Draw_Frame(int32_t& frame, gdi::Picture_surface* box, int16_t mirror, int16_t stream,
                                       gdi::Device_context* to_dc, int16_t rotate) {
    mTrace::Trace("*Draw_frame1, Frameno = ", frame);
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Draw_frame"), [&] {
        if (bitmaps_read_in_) {
            if (frame < 1 || frame > static_cast<int32_t>(bitmaps_.size()))
                vb::Raise(vb::Err_Subscript, "There is no stored frame " + std::to_string(frame), Source);
            if (box) Paint_Into(*bitmaps_[static_cast<size_t>(frame - 1)], *box);
            return;
        }
        if (!File_open()) return;
        Older_drawing_state& d = Drawing();
        if (!d.overlay_sized) {
            if (box) Size_Overlay(Box_Width(*box), Box_Height(*box), false);
            else Size_Overlay(width_, height_, false);
        }
        if (frame == 0) frame = 1;
        Read_Any_Frame(frame, stream);
        current_frame_ = frame;
        if (rotate == -1) {
            Decode_Step(rotation_source_.hDC(), rotation_source_.Width(), rotation_source_.Height());
            Size_Rotated_Image(rotation_source_);
            graphics::Rotate90(rotation_source_.DIBSectionBitsPtr(), rotated_image_.DIBSectionBitsPtr(),
                               rotation_source_.Width(), rotation_source_.Height(), 0);
            if (box) Paint_Into(rotated_image_, *box);
            return;
        }
        if (flip_ == -1 || mirror == -1) {
            Decode_Step(d.ol_target.hDC(), d.ol_target.Width(), d.ol_target.Height(), 0, 0, width_, height_);
            graphics::FlipImageRGB24(d.ol_target.DIBSectionBitsPtr(), vb::To_Int16(d.ol_target.Width()),
                                     vb::To_Int16(d.ol_target.Height()));
            if (box) Paint_Into(d.ol_target, *box);
            return;
        }
        if (has_selrect()) {
            if (box)
                Decode_Step(box->hDC(), Box_Width(*box), Box_Height(*box), SelRect_left(), SelRect_top(), SelRect_width(),
                            Selrect_Height());
        } else if (overlay_ == 0) {
            if (to_dc) Decode_Step(to_dc, width_, height_);
            else if (box) Decode_Step(box->hDC(), Box_Width(*box), Box_Height(*box));
        } else if (overlay_ > 0) {
            if (frame == 1) {
                Decode_Step(d.ol_target.hDC(), d.ol_target.Width(), d.ol_target.Height());
                Read_ff();
            } else {
                Decode_Step(d.ol_source.hDC(), d.ol_source.Width(), d.ol_source.Height());
                const auto w = vb::To_Int16(d.ol_source.Width()), h = vb::To_Int16(d.ol_source.Height());
                if (overlay_ == 2 || overlay_ == 3)
                    graphics::LBlend(d.ol_source.DIBSectionBitsPtr(), d.ol_target.DIBSectionBitsPtr(), w, h,
                                     static_cast<int16_t>(overlay_ - 1));
                else if (overlay_ == 4)
                    graphics::ABlend(d.ol_source.DIBSectionBitsPtr(), d.ol_target.DIBSectionBitsPtr(),
                                     d.ol_first_frame.DIBSectionBitsPtr(), w, h, blend_faktor_);
            }
            if (box) Paint_Into(d.ol_target, *box);
        }
        field_time_ = Frames_Span(int64_t{Frame_In_Memory()} - 1);
    });
}

void cls_VideoFile_handler::Read_ff() {
    Older_drawing_state& d = Drawing();
    if (!d.ol_first_frame.hDC()) return;
    Read_Any_Frame(1, 1);
    Decode_Step(d.ol_first_frame.hDC(), d.ol_first_frame.Width(), d.ol_first_frame.Height());
}

void cls_VideoFile_handler::Blit_Frame(gdi::Device_context* dc, int32_t width, int32_t height) {
    const int32_t kept = last_draw_result_;
    Decode_Step(dc, width, height);
    last_draw_result_ = kept;
}

void cls_VideoFile_handler::Draw_Panned_frame(int32_t frame, gdi::Picture_surface& box, int16_t pan_x, int16_t pan_y) {
    Read_Any_Frame(frame, 1);
    const int16_t w = vb::To_Int16(Box_Width(box)), h = vb::To_Int16(Box_Height(box));
    const int32_t kept = last_draw_result_;
    Decode_Step(box.hDC(), w, h, pan_x, pan_y, w, h);
    last_draw_result_ = kept;
}

void cls_VideoFile_handler::Refresh_frame(int32_t, gdi::Picture_surface& box) {
    vb::Trap(true, Location("Refresh_frame"), [&] {
        if (overlay_ >= 1) return Paint_Into(Drawing().ol_target, box);
        if (Frame_In_Memory() == 0) return;
        Decode_Step(box.hDC(), Box_Width(box), Box_Height(box));
    });
}

void cls_VideoFile_handler::Refresh_field(gdi::Picture_surface& box, int16_t rotate) {
    if (rotate == -1) return Paint_Into(Rotated_Image(), box);
    if (is_DV()) return Paint_Into(Deint_target(1), box);
    Blit_Frame(box.hDC(), Box_Width(box), Box_Height(box));
}

// ---- the overlay pictures ----

void cls_VideoFile_handler::Store_OL_Source() {
    Older_drawing_state& d = Drawing();
    if (!d.overlay_sized) {
        mTrace::Trace("Store_OL_source create DIB:s");
        Size_Overlay(width_, height_, true);
    }
    mTrace::Trace("Store_OL_source deinterlaceFrame2");
    if (is_DV()) {
        // The field extraction trusts the sizes it is given.
        if (!Same_Size(frame_image_, d.ol_first_frame))
            vb::Raise(vb::Err_Invalid_Call, "The reference picture is not of the decoded frame's size", Source);
        graphics::deinterlaceFrame2(frame_image_.DIBSectionBitsPtr(), d.ol_first_frame.DIBSectionBitsPtr(),
                                    vb::To_Int16(d.ol_first_frame.Width()), vb::To_Int16(d.ol_first_frame.Height()),
                                    Deinterlace_Mode());
    } else {
        d.ol_first_frame.Create(width_, height_);
        Blit_Frame(d.ol_first_frame.hDC(), width_, height_);
    }
}

void cls_VideoFile_handler::Restore_target(int32_t frame) {
    Older_drawing_state& d = Drawing();
    if (!d.overlay_sized) Size_Overlay(width_, height_, false);
    Read_Any_Frame(frame, 1);
    Decode_Step(d.ol_target.hDC(), width_, height_);
}

void cls_VideoFile_handler::Store_frame(int32_t& frame, const std::string& name) {
    Older_drawing_state& d = Drawing();
    if (!d.overlay_sized) Size_Overlay(width_, height_, false);
    gdi::Device_context* dc = name == "source" ? d.ol_source.hDC() : name == "target" ? d.ol_target.hDC() : nullptr;
    if (!File_open()) return;
    if (frame == 0) frame = 1;
    Read_Any_Frame(frame, 1);
    Decode_Step(dc, width_, height_);
}

void cls_VideoFile_handler::Reset_Overlay(gdi::Picture_surface& box) {
    if (overlay_ == 0) return;
    Older_drawing_state& d = Drawing();
    cDIBSection& into = overlay_ == 4 ? d.ol_first_frame : d.ol_target;
    Decode_Step(into.hDC(), into.Width(), into.Height());
    Paint_Into(d.ol_target, box);
}

void cls_VideoFile_handler::A_Blend(gdi::Picture_surface& box) {
    Older_drawing_state& d = Drawing();
    cDIBSection& field = field_image_;
    if (!is_DV()) {
        field.Create(width_, height_);
        Blit_Frame(field.hDC(), width_, height_);
        field_pending_ = false;
    }
    // The blend trusts the sizes it is given: the three pictures must be of one size.
    if (!d.overlay_sized || !Same_Size(field, d.ol_target) || !Same_Size(field, d.ol_source))
        vb::Raise(vb::Err_Invalid_Call, "The overlay pictures are not of the field's size", Source);
    graphics::ABlend(field.DIBSectionBitsPtr(), d.ol_target.DIBSectionBitsPtr(), d.ol_source.DIBSectionBitsPtr(),
                     vb::To_Int16(d.ol_target.Width()), vb::To_Int16(d.ol_target.Height()), blend_faktor_);
    Paint_Into(d.ol_target, box);
}

// ---- fields ----

void cls_VideoFile_handler::Draw_field_3(int32_t field, gdi::Picture_surface& box, int16_t, int16_t stream, int16_t rotate) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Draw_field_3"), [&] {
        if (!File_open()) return;
        current_field_ = field;
        if (field == 0) return;
        if (stream < 1 || stream > 3) vb::Raise(vb::Err_Subscript, "There is no stream " + std::to_string(stream), Source);
        Older_drawing_state& d = Drawing();
        cDIBSection& source = Deint_source(stream);
        cDIBSection& target = Deint_target(stream);
        const auto show_target = [&] {
            if (m_file_suffix == "sdv") target.DIB_DrawDib2(box, 0, 0, 720, 576);
            else Paint_Into(target, box);
        };
        if (field == d.last_drawn_field && stream == d.last_drawn_stream && rotate == 0) return show_target();
        if (m_File_Name.empty()) return;
        eff_frameno_ = vb::To_Int16((int64_t{field} + 1) / 2);
        field_to_show_ = field % 2 == 1 ? 1 : 2;
        auto& decoded_frame = d.decoded_frame_of_stream[static_cast<size_t>(stream - 1)];
        // The stream's pictures take the video's size, NTSC or PAL, before anything is decoded into them.
        const int32_t w = width_ > 0 ? width_ : 720, h = height_ > 0 ? height_ : (NTSC() ? 480 : 576);
        if (target.Width() != w || target.Height() != h || source.Width() != w || source.Height() != h) {
            target.Create(w, h);
            source.Create(w, h);
            decoded_frame = 0;
        }
        Read_Any_Frame(eff_frameno_, stream);
        if (decoded_frame != eff_frameno_ || !Older_Open()) {
            if (Older_Open() && Frame_Data_Address()) Module_dependant::Check_DV_Header({Frame_Data_Address(), static_cast<size_t>(older_->frame_data_size)});
            Decode_Step(source.hDC(), w, h);
            decoded_frame = eff_frameno_;
        }
        graphics::deinterlaceFrame2(source.DIBSectionBitsPtr(), target.DIBSectionBitsPtr(), vb::To_Int16(w),
                                    vb::To_Int16(h), Deinterlace_Mode());
        if (stream == 1) field_pending_ = false;
        if (rotate != 0) {
            Size_Rotated_Image(target);
            graphics::Rotate90(target.DIBSectionBitsPtr(), rotated_image_.DIBSectionBitsPtr(), w, h, 0);
            int32_t x = Box_Width(box);
            if (Num_Video_streams() == 2 && !show_single_stream_) x = vb::CLng(box.ScaleWidth() / 2);
            int32_t left = stream == 2 ? x : 0;
            if (show_single_stream_) left = 0;
            rotated_image_.DIB_PaintPicture(box.hDC(), left, 0, x, Box_Height(box), 0, 0, gdi::SRCCOPY);
        } else {
            show_target();
        }
        const int32_t start = older_ && older_->first_used_field != 0 ? older_->first_used_field : 1;
        field_time_ = Fields_Span(int64_t{current_field_} - start);
        d.last_drawn_field = field;
        d.last_drawn_stream = stream;
    });
}

void cls_VideoFile_handler::Draw_Field(int32_t field, gdi::Picture_surface& box, int16_t reversed, int16_t stream) {
    try {
        last_draw_result_ = gdi::SetStretchBltMode(box.hDC(), gdi::HALFTONE);
        if (field == 0) return;
        Older_drawing_state& d = Drawing();
        if (field == d.last_drawn_field && stream == d.last_drawn_stream && d.field_dc.hDC()) {
            last_draw_result_ = gdi::BitBlt(box.hDC(), 0, 0, width_, height_, d.field_dc.hDC(), 0, 0, gdi::SRCCOPY);
            return;
        }
        if (m_File_Name.empty() || width_ <= 0 || height_ <= 0) return;
        eff_frameno_ = vb::To_Int16((int64_t{field} + 1) / 2);
        field_to_show_ = field % 2 == 1 ? 1 : 2;
        Read_Any_Frame(eff_frameno_, stream);
        if (d.frame_dc.Width() != width_ || d.frame_dc.Height() != height_) d.frame_dc.Create(width_, height_);
        last_draw_result_ = Decode_Step(d.frame_dc.hDC(), width_, height_);
        // The rows of the field shown (the file's field order, exchanged by `reversed`), each copied onto
        // itself and the row below; the lower field starts at row 1, the upper at row 0.
        int16_t mode = Deinterlace_Mode();
        if (reversed == -1) mode = static_cast<int16_t>(3 - mode);
        if (d.field_dc.Width() != width_ || d.field_dc.Height() != height_) d.field_dc.Create(width_, height_);
        for (int32_t row = mode == 1 ? 1 : 0; row <= height_ - 1; row += 2) {
            last_draw_result_ = gdi::BitBlt(d.field_dc.hDC(), 0, row, width_, 1, d.frame_dc.hDC(), 0, row, gdi::SRCCOPY);
            if (row + 1 < height_)
                last_draw_result_ =
                    gdi::BitBlt(d.field_dc.hDC(), 0, row + 1, width_, 1, d.frame_dc.hDC(), 0, row, gdi::SRCCOPY);
        }
        last_draw_result_ = gdi::StretchBlt(box.hDC(), 0, 0, Box_Width(box), Box_Height(box), d.field_dc.hDC(), 0, 0,
                                            width_, height_, gdi::SRCCOPY);
        d.last_drawn_field = field;
        d.last_drawn_stream = stream;
    } catch (...) {
    }
}

void cls_VideoFile_handler::Fill_PBox(gdi::Picture_surface& box) {
    gdi::Device_context* dc = box.hDC();
    gdi::Brush* black = gdi::CreateSolidBrush(0);
    gdi::Gdi_object* brush = gdi::SelectObject(dc, black);
    gdi::Gdi_object* pen = gdi::SelectObject(dc, gdi::Stock_Pen());  // black, one pixel
    gdi::Rectangle(dc, 0, 0, Box_Width(box), Box_Height(box));
    gdi::SelectObject(dc, pen);
    gdi::SelectObject(dc, brush);
    gdi::DeleteObject(black);
    box.Refresh();
}
