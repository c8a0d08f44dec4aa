#pragma once
// The control box: a digital input/output board with a start button and a remote start contact.
// For now the only kit is a simulated one with no inputs wired; it reports the library version the
// program was made for, so the start-up check passes. Attaching a real board comes with live capture.
#include <string>

namespace controlbox {

class Interface_kit {
public:
    // The library's version text, as the start-up check and the about box read it.
    std::string Library_Version() const;
    // True for the simulated kit: no board is attached and no input ever changes.
    bool Simulated() const { return true; }
};

}  // namespace controlbox
