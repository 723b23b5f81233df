// kavro_mapc: compiles the level text into the map file the game loads. Usage:
// kavro_mapc LEVEL.txt OUT.Map. Errors are reported as FILE:LINE: message and fail the build.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/formats/image_files.h"
#include "tools/level/level_rules.h"
#include "tools/level/level_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kavro_mapc LEVEL.txt OUT.Map\n");
        return 2;
    }
    const std::string level_path = argv[1], out_path = argv[2];
    try {
        kavro_formats::Bytes text = kavro_formats::ReadFileBytes(level_path);
        kavro_level::LevelSource source =
            kavro_level::ParseLevelText(level_path, std::string(text.begin(), text.end()));
        kavro_level::Map map = kavro_level::CompileLevel(source);
        std::vector<kavro_level::Finding> findings = kavro_level::CheckLevelRules(map);
        for (const kavro_level::Finding& f : findings)
            std::fprintf(stderr, "%s\n", kavro_level::FindingText(source, f).c_str());
        if (!findings.empty()) return 1;
        kavro_formats::WriteFileBytes(out_path, kavro_level::WriteMapFile(map));
    } catch (const kavro_level::LevelError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro_mapc: %s\n", e.what());
        return 1;
    }
    return 0;
}
