#pragma once
#include "state/ui_port.hpp"

#include <functional>
#include <string>
#include <vector>

// A scripted stand-in for the window: records what the commands show and
// answers the save dialog as told.
class FakeUi : public UiPort {
public:
    struct Message {
        std::string title, text;
    };
    struct Dialog {
        std::string title, folder, name, filter_text, pattern;
    };

    void show_display_image(const RasterImage& image) override {
        ++images_shown;
        last_shown = image;
    }
    void refresh_during_command() override {
        ++refreshes;
        if (on_refresh) on_refresh();
    }
    void show_message(const std::string& title, const std::string& text) override { messages.push_back({title, text}); }
    std::optional<std::string> ask_save_file_name(const std::string& title, const std::string& folder,
                                                  const std::string& name, const std::string& filter_text,
                                                  const std::string& pattern) override {
        dialogs.push_back({title, folder, name, filter_text, pattern});
        return save_answer;
    }
    bool put_image_on_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& packed_dib,
                                const std::vector<std::uint8_t>& bmp_file) override {
        clipboard_image = image;
        clipboard_dib = packed_dib;
        clipboard_bmp = bmp_file;
        ++clipboard_puts;
        return true;
    }

    int images_shown = 0;
    RasterImage last_shown;
    int refreshes = 0;
    std::function<void()> on_refresh;
    std::vector<Message> messages;
    std::vector<Dialog> dialogs;
    std::optional<std::string> save_answer;
    RasterImage clipboard_image;
    std::vector<std::uint8_t> clipboard_dib, clipboard_bmp;
    int clipboard_puts = 0;
};
