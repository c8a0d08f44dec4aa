#include "Module_Vantorel_print.h"

namespace Module_Vantorel {

int16_t Mill_Time_Part(const std::string& Part, int32_t Mill) {
    const int32_t d = Mill % 86400000;
    const int32_t in_hour = d % 3600000;
    if (Part == "h") return static_cast<int16_t>(d / 3600000);
    if (Part == "m") return static_cast<int16_t>(in_hour / 60000);
    if (Part == "s") return static_cast<int16_t>(in_hour % 60000 / 1000);
    if (Part == "t") {
        const int32_t ms = in_hour % 60000 % 1000;
        return static_cast<int16_t>(ms >= 0 ? ms / 10 : -((-ms + 9) / 10));
    }
    return 0;
}

}  // namespace Module_Vantorel
