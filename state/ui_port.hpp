#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the commands need from the windowing layer. The Qt window implements
// it; tests and tools use a scripted stand-in. Control states travel through
// the ControlModel, not through here.
class UiPort {
public:
    virtual ~UiPort() = default;

    // Image control 1 shows this image.
    virtual void show_display_image(const RasterImage& image) = 0;
    // Inside a long command: repaint what changed, handle no user input.
    virtual void refresh_during_command() = 0;
    // A modal message box with one OK button; returns when it is closed.
    virtual void show_message(const std::string& title, const std::string& text) = 0;
    // A modal save-file dialog; nothing when the user cancels.
    virtual std::optional<std::string> ask_save_file_name(const std::string& title, const std::string& folder,
                                                          const std::string& name, const std::string& filter_text,
                                                          const std::string& pattern) = 0;
    // Puts an image on the clipboard: the packed device-independent bitmap and
    // the same pixels as a BMP file. Returns false when the clipboard refused.
    virtual bool put_image_on_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& packed_dib,
                                        const std::vector<std::uint8_t>& bmp_file) = 0;
};
