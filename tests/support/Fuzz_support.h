#pragma once
// What the fuzz targets share: a dialog service that answers every box at once, and a small picture
// box to draw fields into.
#include "imaging/cDIBSection.h"
#include "platform/gdi/Picture_surface.h"
#include "platform/ui/Dialog_service.h"

namespace fuzz {

class Quiet_dialogs final : public ui::Dialog_service {
public:
    int32_t Message_Box(const std::string&, int32_t, const std::string&) override { return ui::vbOK; }
    std::optional<std::string> Input_Box(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> Open_File(const ui::File_Request&) override { return std::nullopt; }
    std::optional<std::string> Browse_Folder(const std::string&, const std::string&) override { return std::nullopt; }
};

class Surface final : public gdi::Picture_surface {
public:
    Surface() { dib.Create(64, 64); }
    gdi::Device_context* hDC() override { return dib.hDC(); }
    double ScaleWidth() const override { return dib.Width(); }
    double ScaleHeight() const override { return dib.Height(); }
    void Refresh() override {}
    cDIBSection dib;
};

}  // namespace fuzz
