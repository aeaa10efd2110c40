#include "ExportTestSupport.h"
#include "export/CompoundFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace xlstest;
using xls::BuildCompoundFile;

namespace {

Bytes Pattern(std::size_t size) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>(i * 131 + i / 509);
    return b;
}

} // namespace

TEST(CompoundFile, RefusesStreamsThatBelongInTheMiniStreamAndBadNames) {
    EXPECT_THROW(BuildCompoundFile(u"Workbook", Pattern(4095)), std::invalid_argument);
    EXPECT_THROW(BuildCompoundFile(u"", Pattern(4096)), std::invalid_argument);
    EXPECT_THROW(BuildCompoundFile(std::u16string(32, u'a'), Pattern(4096)), std::invalid_argument);
    EXPECT_NO_THROW(BuildCompoundFile(std::u16string(31, u'a'), Pattern(4096)));
}

TEST(CompoundFile, StreamSurvivesAroundSectorAndFatBoundaries) {
    // 126 stream sectors still fit one FAT sector with the directory and
    // itself; 127 need a second.
    struct Case {
        std::size_t size;
        std::uint32_t fatSectors;
    };
    for (const Case c : {Case{4096, 1}, Case{4097, 1}, Case{4607, 1}, Case{126 * 512, 1},
                         Case{126 * 512 + 1, 2}, Case{253 * 512, 2}, Case{253 * 512 + 1, 3}}) {
        SCOPED_TRACE(c.size);
        const Bytes stream = Pattern(c.size);
        const Bytes file = BuildCompoundFile(u"Workbook", stream);
        const std::size_t sectors = (c.size + 511) / 512;
        EXPECT_EQ(file.size(), 512 * (1 + sectors + 1 + c.fatSectors));
        const CompoundInfo info = ReadCompoundFile(file, u"Workbook");
        EXPECT_EQ(info.fatSectors, c.fatSectors);
        EXPECT_EQ(info.difatSectors, 0u);
        EXPECT_EQ(info.stream, stream);
    }
}

TEST(CompoundFile, StreamsBeyondAHundredAndNineFatSectorsUseDifatSectors) {
    // 109 FAT sectors map 13,952 sectors; 8 MB needs 16,384 for the stream.
    const Bytes stream = Pattern(8u << 20);
    const Bytes file = BuildCompoundFile(u"Workbook", stream);
    const CompoundInfo info = ReadCompoundFile(file, u"Workbook");
    EXPECT_EQ(info.fatSectors, 130u);
    EXPECT_EQ(info.difatSectors, 1u);
    EXPECT_EQ(info.stream, stream);

#ifndef _WIN32
    // Another reader's view of the same file.
    ScratchDir dir;
    WriteFile(dir / "big.xls", file);
    int status = 0;
    XlrdDump("stream " + Quoted(dir / "big.xls") + " " + Quoted(dir / "stream.bin"), status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(ReadFile(dir / "stream.bin"), stream);
#endif
}
