#pragma once
// Running the headless Godot 3 on a project of our files.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// godot3-server with `arguments` in `project`, its settings and caches in
// `home`, its output into `log` (a file name in the project); the exit
// code, 128 + the signal if it died by one.
inline int run_godot3(const std::filesystem::path& project, const std::filesystem::path& home,
                      const std::string& arguments, const std::string& log) {
    const std::string command = "cd '" + project.string() + "' && HOME='" + home.string() +
                                "' timeout 120 godot3-server --path . " + arguments + " >'" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The editor's import of the project's images and resources, which a
// scene's script needs before it can load them. On a loaded machine
// Godot 3's headless editor now and then aborts as it quits, its import
// done; one that dies by a signal is run once more before it counts.
inline int import_godot3(const std::filesystem::path& project, const std::filesystem::path& home,
                         const std::string& log = "import.log") {
    const int code = run_godot3(project, home, "--editor --quit", log);
    return code > 128 && code != 128 + 9 ? run_godot3(project, home, "--editor --quit", log) : code;
}
