// artgen OUTDIR [--sheet FILE.png] [--mock FILE.png]
// Draws the skin's bitmaps into OUTDIR as 24-bit BMP files, the program icon
// as mainicon.ico, and artwork.rc naming them all for the resource compiler;
// optionally a contact sheet and a BlueGlass mock-up for people to look at.
#include "framework/PngEncoder.h"
#include "tools/artgen/Output.h"
#include "tools/artgen/Sheet.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool WritePng(const std::string& path, const artgen::Bitmap& b) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return WritePngFile(path, b.width, b.height, b.pixels.data(), false);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: artgen OUTDIR [--sheet FILE.png] [--mock FILE.png]\n");
        return 2;
    }
    std::string sheetPath, mockPath;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--sheet")
            sheetPath = argv[i + 1];
        else if (opt == "--mock")
            mockPath = argv[i + 1];
        else {
            std::fprintf(stderr, "artgen: unknown option %s\n", opt.c_str());
            return 2;
        }
    }
    std::string error;
    if (!artgen::WriteArtwork(argv[1], error)) {
        std::fprintf(stderr, "artgen: cannot write %s\n", error.c_str());
        return 1;
    }
    if (!sheetPath.empty() || !mockPath.empty()) {
        const auto art = artgen::BuildArtwork();
        if (!sheetPath.empty() &&
            !WritePng(sheetPath, artgen::ContactSheet(art, artgen::BuildMainIcon()))) {
            std::fprintf(stderr, "artgen: cannot write %s\n", sheetPath.c_str());
            return 1;
        }
        if (!mockPath.empty() && !WritePng(mockPath, artgen::BlueGlassMock(art))) {
            std::fprintf(stderr, "artgen: cannot write %s\n", mockPath.c_str());
            return 1;
        }
    }
    return 0;
}
