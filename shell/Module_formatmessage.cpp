#include "Module_formatmessage.h"

#include "platform/registry/Registry_store.h"
#include "platform/vb/Vb_text.h"

#include <cstdio>

namespace Module_formatmessage {

std::string System_Error_Text(int32_t code) {
    std::string message = registry::Result_Text(code);
    std::string text = message.empty() ? "(No such error)\r\n\r\n" : vb::Left(message, 260) + "\r\n";
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<uint32_t>(code));
    return text + "Dec: " + std::to_string(code) + "\tHex: " + hex;
}

}  // namespace Module_formatmessage
