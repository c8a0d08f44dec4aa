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
    jpeg::Core_properties jcprops;
    jcprops.JPGBytes = const_cast<uint8_t*>(jpeg);  // decoding only reads the stream
    jcprops.JPGSizeBytes = jpeg_size > 0 ? static_cast<uint64_t>(jpeg_size) : 0;
    if (jpeg_size <= 0 || jpeg::Read_Params(jcprops) != 0) {
        ui::MsgBox("Failed to read JPG", ui::vbExclamation);
        return false;
    }
    if (!dib.Create(jcprops.JPGWidth, jcprops.JPGHeight)) return false;
    jcprops.DIBWidth = jcprops.JPGWidth;
    jcprops.DIBHeight = -jcprops.JPGHeight;
    jcprops.DIBPadBytes = dib.BytesPerScanLine() - 3 * dib.Width();
    jcprops.DIBChannels = 3;
    jcprops.DIBBytes = dib.DIBSectionBitsPtr();
    return jpeg::Read_Whole_Image(jcprops) == 0;
}

bool Encode_DIB_To_JPG(cDIBSection& dib, uint8_t* out, int32_t& size, int32_t quality) {
    if (int32_t code = jpeg::Init(); code != 0)
        vb::Raise(vb::Err_Own, "Failed to initialise the IJL library: " + std::to_string(code),
                  imaging::Error_Source(Module));
    jpeg::Core_properties jcprops;
    jcprops.DIBWidth = dib.Width();
    jcprops.DIBHeight = -dib.Height();
    jcprops.DIBBytes = dib.DIBSectionBitsPtr();
    jcprops.DIBPadBytes = dib.BytesPerScanLine() - 3 * dib.Width();
    jcprops.JPGWidth = dib.Width();
    jcprops.JPGHeight = dib.Height();
    jcprops.JPGBytes = out;
    jcprops.JPGSizeBytes = size < 0 ? 0 : static_cast<uint64_t>(size);
    jcprops.jquality = quality;
    int32_t code = jpeg::Err_Bad_Argument;
    if (jcprops.DIBBytes) code = jpeg::Write_Whole_Image(jcprops);
    if (code != 0) vb::Raise(vb::Err_Own, "Failed to save to JPG " + std::to_string(code), imaging::Error_Source(Module));
    size = static_cast<int32_t>(jcprops.JPGSizeBytes);
    return true;
}

}  // namespace mIntelJPEGLibrary
