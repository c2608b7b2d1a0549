// Builds report templates from their text descriptions.
// Usage: xlt_generate <output folder> <description.txt>...
// Each description <name>.txt becomes <output folder>/<name>.xlsx.

#include "xlt_description.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <description.txt>...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path source = argv[i];
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read\n", argv[i]);
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        try {
            const xlt::Description description = xlt::parseDescription(text.str(), source.filename().string());
            const auto target = folder / (source.stem().string() + ".xlsx");
            const auto partial = folder / (source.stem().string() + ".xlsx.part");
            xlt::writeTemplate(description, partial.string());
            std::filesystem::rename(partial, target);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    return 0;
}
