#include "app/render/started_state.hpp"

#include "app/render/report_line.hpp"
#include "export/tile/user_textures.hpp"

std::unique_ptr<AppState> started_state(const RenderSettings& settings, std::FILE* report, int& exit_code) {
    std::unique_ptr<AppState> state = create_app_state();
    if (!state) {
        report_line(report, "the built-in textures could not be decoded");
        exit_code = 1;
        return nullptr;
    }
    if (!settings.texture_folder.empty())
        if (const Problem problem = load_user_textures(*state, settings.texture_folder)) {
            report_line(report, *problem);
            exit_code = 2;
            return nullptr;
        }
    return state;
}
