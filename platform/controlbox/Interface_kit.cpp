#include "Interface_kit.h"

namespace controlbox {

std::string Interface_kit::Library_Version() const {
    return "Phidget COM Library 2.1.6 - Phidget21 - Version 2.1.6 (simulated interface kit)";
}

}  // namespace controlbox
