// Hostile input to brannoc-render's command line and settings files: each
// refused with exit code 2 and one line that names what is wrong, cut and
// escaped so it stays one readable line.
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
class InputChecks : public ::testing::Test {
protected:
    std::string settings_file(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    void expect_refused(const std::vector<std::string>& args, const std::string& says) {
        const ParsedCommandLine parsed = parse_args(args);
        EXPECT_FALSE(parsed.settings.has_value()) << says;
        EXPECT_EQ(parsed.exit_code, 2) << says;
        EXPECT_EQ(parsed.text.rfind("brannoc-render: ", 0), 0u) << parsed.text;
        EXPECT_EQ(parsed.text.find('\n'), std::string::npos) << parsed.text;
        EXPECT_NE(parsed.text.find(says), std::string::npos) << parsed.text;
    }
    ScratchDir scratch_{"brannoc-input-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(InputChecks, SettingsFilesOfTheWrongShapeAreRefusedNamingTheKey) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"out": null})", "\"out\" takes a string, not null"},
        {R"({"count": [3]})", "\"count\" takes a whole number, not array"},
        {R"({"transparent": 1})", "\"transparent\" takes true or false, not number"},
        {R"({"wall-texture": []})", "\"wall-texture\" takes a texture number or a list of them, not an empty list"},
        {R"({"count": 2, "seed": 1, "count": 3})", "\"count\" is given twice"},
        {R"({"sheet": "a\u0000.png"})", "--sheet: the value holds a NUL character"},
        {R"({"out": ""})", "--out: no value given"},
        {R"({"grasss": true})", "unknown setting \"grasss\" (did you mean \"grass\"?)"},
        {std::string(50000, '[') + std::string(50000, ']'), "is nested deeper than 16 levels"},
        {"{\"kind\": \"" + std::string(2 << 20, 'x') + "\"}", "is larger than 1 MB"},
    };
    for (const auto& [text, says] : cases) expect_refused({"--settings", settings_file("s.json", text)}, says);
}

TEST_F(InputChecks, ASettingsFileThatIsNoFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo.json").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir_ / "zero.json");
    expect_refused({"--settings", dir_.string()}, "is a folder, not a file");
    expect_refused({"--settings", (dir_ / "fifo.json").string()}, "is not a regular file");
    expect_refused({"--settings", (dir_ / "zero.json").string()}, "is not a regular file");
    expect_refused({"--settings", ""}, "--settings: no file named");
}

TEST_F(InputChecks, EmptyValuesConflictsAndMisspellingsAreRefused) {
    const std::string cores = std::to_string(4 * std::max(1u, std::thread::hardware_concurrency()) + 1);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--wall-texture", ""}, "--wall-texture: no value given"},
        {{"--out", "--quiet"}, "--out: no value given (\"--quiet\" is the next option)"},
        {{"--out", "x", "--sheet", "a.png"}, "--out writes one file a tile and --sheet one sheet"},
        {{"--format", "bmp", "--sheet", "a.png"}, "--format bmp does not match --sheet \"a.png\""},
        {{"--columns", "3"}, "--columns lays out a sheet: give --sheet too"},
        {{"--tile-seed", "5", "--count", "2"}, "--tile-seed draws one tile"},
        {{"--jobs", cores}, "is not a number of jobs from 1 to"},
        {{"--cout", "3"}, "unknown option \"--cout\" (did you mean --count?)"},
        {{"--sheet", "a.png", "--tmx", "a.png"}, "are one file"},
        {{"--sheet", "a.png", "--tmx", "a.tsx"}, "are one file"},
        {{"--sheet", "a.png", "--tmx", "a.json", "--godot", "a.json"}, "are one file"},
        {{"--kind", "ho\x1b[31muse\n" + std::string(300, 'x')}, "--kind: \"ho\\x1b[31muse\\nxxx"},
        // Nothing is taken silently: every value says what it means, and an
        // option that would do nothing is named.
        {{"--wall-texture", "3,"}, "--wall-texture: \"3,\" has an empty place"},
        {{"--transparent="}, "--transparent=: no value given"},
        {{"--kind", "water", "--frames", "2", "--gif=2"}, "--gif: \"2\" is not true or false"},
        {{"--frame-ms", "100"}, "--frame-ms times the frames of moving water: give --frames too"},
        {{"--trim", "--sheet", "a.png"}, "--trim crops the files of one tile each"},
        {{"--kind", "transition", "--terrains", "ground:1,water:0", "--wall-texture", "3"},
         "--wall-texture steers house tiles; --kind transition does not use it"},
        {{"--over"}, "--over needs --kind transition"},
        {{"--kind", "transition", "--terrains", "ground:1", "--over"}, "--over needs two terrains A,B"},
        {{"--kind", "transition", "--terrains", "ground:1,water:0", "--over", "--format", "bmp"},
         "which BMP cannot hold"},
        {{"--kind", "transition", "--terrains", "ground:1,water:0", "--over", "--frames", "2", "--gif"},
         "--gif cannot show over tiles"},
        // The word that is out of place, not a value that follows its option.
        {{"--count", "3", "--kind", "tree", "extra"}, "unexpected argument \"extra\""},
        {{"--out", "--settings", "x.json"}, "--out: no value given (\"--settings\" is the next option)"},
    };
    for (const auto& [args, says] : cases) expect_refused(args, says);
    const ParsedCommandLine cut = parse_args({"--kind", std::string(300, 'x')});
    EXPECT_NE(cut.text.find(std::string(80, 'x') + "...\""), std::string::npos) << cut.text;
    EXPECT_EQ(cut.text.find(std::string(81, 'x')), std::string::npos) << cut.text;
    // Paths are echoed cut too, at their start, so the file's name stays.
    const ParsedCommandLine long_path = parse_args({"--settings", std::string(300, 'y') + ".json"});
    EXPECT_NE(long_path.text.find("..." + std::string(72, 'y') + ".json"), std::string::npos) << long_path.text;
    EXPECT_EQ(long_path.text.find(std::string(73, 'y')), std::string::npos) << long_path.text;
}

TEST_F(InputChecks, ASheetThatCannotFitIsRefusedBeforeDrawingSayingWhatWould) {
    expect_refused({"--count", "72000", "--iso-width", "40", "--sheet", (dir_ / "s.png").string()}, "at most ");
    expect_refused({"--kind", "water", "--count", "100", "--iso-width", "200", "--columns", "100", "--spacing", "200",
                    "--sheet", (dir_ / "s.png").string()},
                   "at most 41 fit");
    EXPECT_FALSE(fs::exists(dir_ / "s.png"));
}

// Run from the scratch folder, so that messages name files in full.
class InputsAndOutputs : public InputChecks {
protected:
    void SetUp() override { fs::current_path(dir_); }
    void TearDown() override { fs::current_path(home_); }
    const fs::path home_ = fs::current_path();
};

TEST_F(InputsAndOutputs, AnOutputThatIsAnInputIsRefusedNamingBoth) {
    fs::create_directories("tex");
    fs::create_directories("d");
    std::ofstream("tex/ground_sheet.png") << "a user's texture";
    std::ofstream("d/manifest.json") << "{}";
    expect_refused({"--textures", "tex", "--sheet", "tex/ground_sheet.png"},
                   "\"tex/ground_sheet.png\" and \"" + (dir_ / "tex").string());
    expect_refused({"--settings", "d/manifest.json", "--out", "d"},
                   "\"d/manifest.json\" and \"d/manifest.json\" are one file, an output and the settings file");
    // A tile of the run hard-linked to a texture sheet (the texture folder
    // is named in full).
    fs::create_directories("out");
    fs::create_hard_link("tex/ground_sheet.png", "out/water-0001.png");
    expect_refused({"--kind", "water", "--count", "2", "--textures", "tex", "--out", "out"},
                   "\"out/water-0001.png\" and \"" + (dir_ / "tex").string());
}

TEST_F(InputsAndOutputs, OutputsThatAreOneFileThroughLinksAreRefusedNamingBoth) {
    // A map and a link to it, before the map exists.
    fs::create_symlink("a.tmx", "link.tres");
    expect_refused({"--sheet", "s.png", "--tmx", "a.tmx", "--godot", "link.tres"},
                   "\"a.tmx\" and \"link.tres\" are one file");
    fs::create_directories("out");
    const std::vector<std::string> run = {"--kind", "water", "--count", "3", "--out", "out"};
    std::ofstream("out/water-0000.png") << "a tile";
    fs::create_hard_link("out/water-0000.png", "out/manifest.json");
    expect_refused(run, "\"out/manifest.json\" and \"out/water-0000.png\" are one file");
    fs::remove("out/manifest.json");
    fs::create_hard_link("out/water-0000.png", "out/water-0002.png");
    expect_refused(run, "\"out/water-0000.png\" and \"out/water-0002.png\" are one file");
    fs::remove("out/water-0000.png");
    fs::remove("out/water-0002.png");
    fs::create_symlink("water-0000.png", "out/water-0001.png");  // dangling
    expect_refused(run, "\"out/water-0001.png\" and \"out/water-0000.png\" are one file");
}
