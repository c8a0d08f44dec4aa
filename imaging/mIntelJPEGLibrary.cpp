#include "mIntelJPEGLibrary.h"

#include "Error_source.h"
#include "platform/jpeg/Jpeg_codec.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/VbError.h"

#include <string>

namespace mIntelJPEGLibrary {

namespace {
const char* const Module = "mIntelJPEGLibrary";
}

bool Decode_JPG_To_DIB(cDIBSection& dib, const uint8_t* jpeg, int32_t jpeg_size) {
    if (int32_t code = jpeg::Init(); code != 0) {
        ui::MsgBox("Failed to initialise the IJL library: " + std::to_string(code), ui::vbExclamation);
        return false;
    }
    jpeg::Stream_info info;
    if (jpeg_size <= 0 || jpeg::Read_Header(jpeg, static_cast<uint64_t>(jpeg_size), info) != 0) {
        ui::MsgBox("Failed to read JPG", ui::vbExclamation);
        return false;
    }
    if (!dib.Create(info.width, info.height)) return false;
    return jpeg::Decode(jpeg, static_cast<uint64_t>(jpeg_size), dib.DIBSectionBitsPtr(), dib.Width(),
                        dib.BytesPerScanLine(), dib.Height()) == 0;
}

bool Encode_DIB_To_JPG(cDIBSection& dib, uint8_t* out, int32_t& size, int32_t quality) {
    if (int32_t code = jpeg::Init(); code != 0)
        vb::Raise(vb::Err_Own, "Failed to initialise the IJL library: " + std::to_string(code),
                  imaging::Error_Source(Module));
    uint64_t written = size < 0 ? 0 : static_cast<uint64_t>(size);
    int32_t code = jpeg::Err_Bad_Argument;
    if (dib.DIBSectionBitsPtr())
        code = jpeg::Encode(dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(), dib.Height(), quality, out,
                            written);
    if (code != 0) vb::Raise(vb::Err_Own, "Failed to save to JPG " + std::to_string(code), imaging::Error_Source(Module));
    size = static_cast<int32_t>(written);
    return true;
}

}  // namespace mIntelJPEGLibrary
