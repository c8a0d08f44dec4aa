#include "Jpeg_codec.h"

#include <cstring>
#include <limits>
#include <turbojpeg.h>

namespace jpeg {

namespace {

// One compressor, one decompressor and one worst-case stream buffer per thread, made on first use.
struct Thread_handles {
    tjhandle compressor = nullptr;
    tjhandle decompressor = nullptr;
    unsigned char* scratch = nullptr;
    unsigned long scratch_size = 0;
    std::string last_error;

    ~Thread_handles() {
        if (compressor) tjDestroy(compressor);
        if (decompressor) tjDestroy(decompressor);
        tjFree(scratch);
    }
    bool Ready() {
        if (!compressor) compressor = tjInitCompress();
        if (!decompressor) decompressor = tjInitDecompress();
        return compressor && decompressor;
    }
    // A handle that failed may be left mid-stream (TurboJPEG does not always reset it): it is
    // replaced before the next call.
    int32_t Fail(int32_t code, tjhandle handle) {
        last_error = tjGetErrorStr2(handle);
        if (handle && handle == compressor) {
            tjDestroy(compressor);
            compressor = nullptr;
        } else if (handle && handle == decompressor) {
            tjDestroy(decompressor);
            decompressor = nullptr;
        }
        return code;
    }
};

thread_local Thread_handles handles;

bool Rows_Valid(int32_t width, int32_t stride, int32_t height) {
    return width > 0 && height > 0 && static_cast<int64_t>(stride) >= 3 * static_cast<int64_t>(width);
}

}  // namespace

int64_t Max_Stream_Size(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return 0;
    unsigned long size = tjBufSize(width, height, TJSAMP_444);
    return size == static_cast<unsigned long>(-1) ? 0 : static_cast<int64_t>(size);
}

int32_t Init() { return handles.Ready() ? 0 : handles.Fail(Err_No_Handle, nullptr); }

int32_t Read_Header(const uint8_t* stream, uint64_t size, Stream_info& info) {
    if (!handles.Ready()) return handles.Fail(Err_No_Handle, nullptr);
    if (!stream || size == 0 || size > std::numeric_limits<unsigned long>::max()) {
        handles.last_error = "No JPEG stream";
        return Err_Bad_Stream;
    }
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handles.decompressor, stream, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colourspace) != 0)
        return handles.Fail(Err_Bad_Stream, handles.decompressor);
    // A stream cut before its frame header reads as tables only, "successfully", with no size.
    if (width < 1 || height < 1) {
        handles.Fail(Err_Bad_Stream, handles.decompressor);
        handles.last_error = "No picture in the JPEG stream";
        return Err_Bad_Stream;
    }
    info.width = width;
    info.height = height;
    info.channels = colourspace == TJCS_GRAY ? 1 : 3;
    return 0;
}

int32_t Decode(const uint8_t* stream, uint64_t size, uint8_t* rows, int32_t width, int32_t stride, int32_t height) {
    if (!handles.Ready()) return handles.Fail(Err_No_Handle, nullptr);
    if (!stream || !rows || !Rows_Valid(width, stride, height) || size > std::numeric_limits<unsigned long>::max()) {
        handles.last_error = "Invalid argument";
        return Err_Bad_Argument;
    }
    // The stream's own size must be the size of the rows, or TurboJPEG would scale into them.
    Stream_info info;
    if (int32_t code = Read_Header(stream, size, info); code != 0) return code;
    if (info.width != width || info.height != height) {
        handles.last_error = "Picture size differs from the stream's";
        return Err_Bad_Argument;
    }
    if (tjDecompress2(handles.decompressor, stream, static_cast<unsigned long>(size), rows, width, stride, height,
                      TJPF_BGR, TJFLAG_BOTTOMUP) != 0)
        return handles.Fail(Err_Decode, handles.decompressor);
    return 0;
}

int32_t Encode(const uint8_t* rows, int32_t width, int32_t stride, int32_t height, int32_t quality, uint8_t* out,
               uint64_t& size) {
    if (!handles.Ready()) return handles.Fail(Err_No_Handle, nullptr);
    if (!rows || !out || !Rows_Valid(width, stride, height) || quality < 1 || quality > 100) {
        handles.last_error = "Invalid argument";
        return Err_Bad_Argument;
    }
    const unsigned long worst = tjBufSize(width, height, TJSAMP_420);
    if (worst == static_cast<unsigned long>(-1)) return handles.Fail(Err_Bad_Argument, nullptr);

    // A buffer that holds the worst case takes the stream directly; a smaller one gets it from the
    // thread's scratch buffer when it fits. TurboJPEG never writes past the worst case.
    unsigned char* target = out;
    if (size < worst) {
        if (handles.scratch_size < worst) {
            tjFree(handles.scratch);
            handles.scratch = tjAlloc(static_cast<int>(worst));
            handles.scratch_size = handles.scratch ? worst : 0;
            if (!handles.scratch) return handles.Fail(Err_Encode, nullptr);
        }
        target = handles.scratch;
    }
    unsigned long written = worst;
    if (tjCompress2(handles.compressor, rows, width, stride, height, TJPF_BGR, &target, &written, TJSAMP_420, quality,
                    TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC) != 0)
        return handles.Fail(Err_Encode, handles.compressor);
    if (target != out) {
        if (written > size) {
            handles.last_error = "Output buffer too small for the JPEG stream";
            return Err_Buffer_Too_Small;
        }
        std::memcpy(out, target, written);
    }
    size = written;
    return 0;
}

namespace {

// The row stride of the picture side, or 0 for a layout that is not three bytes a pixel, bottom-up.
int32_t Stride_Of(const Core_properties& p) {
    if (p.DIBChannels != 3 || p.DIBColor != Color_BGR || p.DIBHeight >= 0 || p.DIBPadBytes < 0 || p.DIBWidth <= 0)
        return 0;
    const int64_t stride = 3 * int64_t{p.DIBWidth} + p.DIBPadBytes;
    return stride > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(stride);
}

int32_t Refuse_Layout() {
    handles.last_error = "The picture is not three bytes a pixel in blue-green-red rows stored bottom-up";
    return Err_Bad_Argument;
}

}  // namespace

int32_t Read_Params(Core_properties& properties) {
    Stream_info info;
    if (int32_t code = Read_Header(properties.JPGBytes, properties.JPGSizeBytes, info); code != 0) return code;
    properties.JPGWidth = info.width;
    properties.JPGHeight = info.height;
    properties.JPGChannels = info.channels;
    properties.JPGColor = info.channels == 1 ? Color_Gray : Color_YCbCr;
    return 0;
}

int32_t Read_Whole_Image(const Core_properties& properties) {
    const int32_t stride = Stride_Of(properties);
    if (stride == 0) return Refuse_Layout();
    return Decode(properties.JPGBytes, properties.JPGSizeBytes, properties.DIBBytes, properties.DIBWidth, stride,
                  -properties.DIBHeight);
}

int32_t Write_Whole_Image(Core_properties& properties) {
    const int32_t stride = Stride_Of(properties);
    if (stride == 0) return Refuse_Layout();
    return Encode(properties.DIBBytes, properties.DIBWidth, stride, -properties.DIBHeight, properties.jquality,
                  properties.JPGBytes, properties.JPGSizeBytes);
}

std::string Last_Error_Text() { return handles.last_error; }

}  // namespace jpeg
