// What the generator writes to disk: BMP files the resource compiler embeds,
// the icon file and the resource script.
#include "ExpectedArtwork.h"
#include "tools/artgen/Files.h"
#include "tools/artgen/Output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d.at(at) | (d.at(at + 1) << 8) | (d.at(at + 2) << 16) |
           (static_cast<std::uint32_t>(d.at(at + 3)) << 24);
}

TEST(BmpFile, HeaderRowOrderAndPaddingFollowTheFormat) {
    // 3 x 2: rows of 9 bytes padded to 12, stored bottom row first.
    artgen::Bitmap b{3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}};
    auto d = artgen::EncodeBmp(b);
    ASSERT_EQ(54u + 24u, d.size());
    EXPECT_EQ('B', d[0]);
    EXPECT_EQ('M', d[1]);
    EXPECT_EQ(d.size(), Le32(d, 2));
    EXPECT_EQ(54u, Le32(d, 10));
    EXPECT_EQ(40u, Le32(d, 14));
    EXPECT_EQ(3u, Le32(d, 18));
    EXPECT_EQ(2u, Le32(d, 22)); // positive height: bottom-up
    EXPECT_EQ(24, d[28]);
    EXPECT_EQ(0u, Le32(d, 30)); // BI_RGB
    // First stored pixel is the bottom-left one, blue byte first.
    EXPECT_EQ(0xCC, d[54]);
    EXPECT_EQ(0xBB, d[55]);
    EXPECT_EQ(0xAA, d[56]);
    EXPECT_EQ(0x33, d[54 + 12]);
    auto back = artgen::DecodeBmp(d);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(b.pixels, back->pixels);
}

TEST(IcoFile, DirectoryPointsAtThreeBottomUpImages) {
    auto icons = artgen::BuildMainIcon();
    auto d = artgen::EncodeIco(icons);
    ASSERT_GE(d.size(), 6u + 3 * 16);
    EXPECT_EQ(1, d[2]); // icon, not cursor
    EXPECT_EQ(3, d[4]);
    for (int i = 0; i < 3; ++i) {
        const std::size_t e = 6 + 16 * i;
        const int n = icons[i].size;
        EXPECT_EQ(n, d[e]);
        EXPECT_EQ(n, d[e + 1]);
        std::uint32_t size = Le32(d, e + 8), offset = Le32(d, e + 12);
        ASSERT_LE(offset + size, d.size());
        EXPECT_EQ(40u, Le32(d, offset));
        EXPECT_EQ(static_cast<std::uint32_t>(n), Le32(d, offset + 4));
        EXPECT_EQ(static_cast<std::uint32_t>(2 * n), Le32(d, offset + 8)); // colour + mask
        const std::uint32_t mask = ((n + 31) / 32) * 4 * n;
        EXPECT_EQ(40u + n * n * 4 + mask, size);
    }
}

class WrittenArtwork : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new std::filesystem::path(
            std::filesystem::temp_directory_path() /
            // Each test runs as a process of its own, several at once: a name
            // per process, or one's clean-up removes another's files.
            ("artgen-test-" + std::to_string(std::random_device{}()) + "-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())));
        std::filesystem::remove_all(*dir_);
        std::string error;
        ok_ = artgen::WriteArtwork(*dir_, error);
        error_ = new std::string(error);
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        std::filesystem::remove_all(*dir_, ec);
        delete dir_;
        delete error_;
    }
    static std::filesystem::path* dir_;
    static std::string* error_;
    static bool ok_;
};

std::filesystem::path* WrittenArtwork::dir_ = nullptr;
std::string* WrittenArtwork::error_ = nullptr;
bool WrittenArtwork::ok_ = false;

TEST_F(WrittenArtwork, EveryBitmapFileReadsBackAtItsSize) {
    ASSERT_TRUE(ok_) << *error_;
    for (const auto& e : expected_artwork::kBitmaps) {
        auto data = artgen::ReadFile((*dir_ / artgen::BitmapFileName(e.name)).string());
        ASSERT_TRUE(data.has_value()) << e.name;
        auto bmp = artgen::DecodeBmp(*data);
        ASSERT_TRUE(bmp.has_value()) << e.name;
        EXPECT_EQ(e.width, bmp->width) << e.name;
        EXPECT_EQ(e.height, bmp->height) << e.name;
    }
    EXPECT_TRUE(std::filesystem::exists(*dir_ / "mainicon.ico"));
}

TEST_F(WrittenArtwork, ScriptNamesEveryResourceOnceByAbsolutePath) {
    ASSERT_TRUE(ok_) << *error_;
    auto data = artgen::ReadFile((*dir_ / "artwork.rc").string());
    ASSERT_TRUE(data.has_value());
    std::istringstream in(std::string(data->begin(), data->end()));
    std::map<std::string, std::string> lines;
    std::string name, type, file;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("//", 0) == 0 || line.empty()) continue;
        std::istringstream ls(line);
        ls >> name >> type >> file;
        ASSERT_GE(file.size(), 2u) << line;
        ASSERT_EQ('"', file.front()) << line;
        file = file.substr(1, file.size() - 2);
        EXPECT_TRUE(std::filesystem::path(file).is_absolute()) << line;
        EXPECT_TRUE(std::filesystem::exists(file)) << line;
        EXPECT_TRUE(lines.emplace(name, type).second) << "twice: " << name;
    }
    for (const auto& e : expected_artwork::kBitmaps)
        EXPECT_EQ("BITMAP", lines[e.name]) << e.name;
    EXPECT_EQ("ICON", lines["MAINICON"]);
    EXPECT_EQ(std::size(expected_artwork::kBitmaps) + 1, lines.size());
}

} // namespace
