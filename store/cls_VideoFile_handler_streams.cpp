// Multi-stream files: the stream table filled from the header, the combined picture size of the
// streams shown side by side, and the stream that films from a camera position.
#include "cls_VideoFile_handler.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"

#include <algorithm>

void cls_VideoFile_handler::Read_Stream_Info() {
    mTrace::Trace("*Read_Stream_Info");
    vb::Trap(Module_Vantorel::Is_Compiled, "Read_Stream_Info of Class Module cls_VideoFile_handler", [&] {
        Cls_XML_header& h = Header();
        // An older kind counts its streams from its own layout; a kd3 file from its header.
        const int16_t streams = Older_Open() ? older_->streams : h.Streams_no();
        for (int16_t s = 1; s <= streams; ++s) {
            if (s > static_cast<int16_t>(stream_table_.size())) vb::Raise(vb::Err_Subscript);
            Stream_Info& entry = stream_table_[static_cast<size_t>(s - 1)];
            entry.active = h.Stream_Active(s);
            entry.rotated = h.Stream_rotated(s);
            entry.camera_pos = h.Stream_CameraPos(s);
            entry.bottom = h.Selection_Rectangle(s, "b");
            entry.top = h.Selection_Rectangle(s, "t");
            entry.left = h.Selection_Rectangle(s, "l");
            entry.right = h.Selection_Rectangle(s, "r");
            entry.width = vb::To_Int16(int64_t{entry.right} - entry.left);
            entry.height = vb::To_Int16(int64_t{entry.bottom} - entry.top);
        }
    });
}

void cls_VideoFile_handler::Num_write_streams(int16_t value) { Header().Streams_no(value); }

void cls_VideoFile_handler::Set_Multi_Stream_Size() {
    vb::Trap(Module_Vantorel::Is_Compiled, "Set_Multi_Stream_Size of Class Module cls_VideoFile_handler", [&] {
        if (!older_) older_ = std::make_unique<Older_kind_state>();
        Older_kind_state& o = *older_;
        o.active_at_1_and_2 = 0;
        o.active_at_3 = false;
        o.camera_present.fill(false);
        o.camera_active.fill(false);
        for (int16_t s = 1; s <= o.streams; ++s) {
            const Stream_Info& entry = stream_table_.at(static_cast<size_t>(s - 1));
            const int16_t p = entry.camera_pos > 3 ? 1 : entry.camera_pos;
            if (p < 1) vb::Raise(vb::Err_Subscript);
            o.camera_present[static_cast<size_t>(p - 1)] = true;
            if (entry.active) {
                if (entry.camera_pos < 1 || entry.camera_pos > 6) vb::Raise(vb::Err_Subscript);
                o.camera_active[static_cast<size_t>(entry.camera_pos - 1)] = true;
                if (entry.camera_pos == 1 || entry.camera_pos == 2) ++o.active_at_1_and_2;
                if (entry.camera_pos == 3) o.active_at_3 = true;
            }
        }
        // A kd3 file keeps its own picture size.
        if (File_open() && !Older_Open()) return;
        width_ = 720;
        height_ = 576;
        if (o.active_at_1_and_2 == 1) {
            if (o.camera_active[0]) {
                const int16_t s = stream_from_pos(1);
                if (s > 0) {
                    width_ = stream_table_[static_cast<size_t>(s - 1)].width;
                    height_ = stream_table_[static_cast<size_t>(s - 1)].height;
                }
            }
        } else if (o.active_at_1_and_2 == 2) {
            width_ = vb::To_Int16(int32_t{stream_table_[0].width} + stream_table_[1].width);
            height_ = static_cast<int16_t>(std::max(stream_table_[0].height, stream_table_[1].height));
        }
        if (width_ == 0) width_ = 720;
        if (height_ == 0) height_ = 576;
    });
}

int16_t cls_VideoFile_handler::stream_from_pos(int16_t pos) const {
    if (!older_) return 0;
    if (older_->streams > dv::Max_Streams) vb::Raise(vb::Err_Subscript);
    int16_t found = 0;
    for (int16_t s = 1; s <= older_->streams; ++s)
        if (stream_table_[static_cast<size_t>(s - 1)].camera_pos == pos) found = s;
    return found;
}
