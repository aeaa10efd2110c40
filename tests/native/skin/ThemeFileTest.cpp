#include "skin/SUIThemeFile.h"
#include "ThemeFileWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>

using theme_test::FakeBmp;
using theme_test::GetU32;
using theme_test::PutU32;
using theme_test::ThemeFileWriter;
using Reason = ThemeFileError::Reason;
namespace Layout = ThemeFileLayout;

namespace {

std::unique_ptr<TsuiThemeFileReader> Parse(const std::vector<std::uint8_t>& bytes) {
    return TsuiThemeFileReader::Parse(bytes);
}

// The reason a malformed file is refused; fails the test when it is accepted.
Reason Rejection(const std::vector<std::uint8_t>& bytes) {
    try {
        TsuiThemeFileReader::Parse(bytes);
    } catch (const ThemeFileError& e) {
        return e.WhatFailed();
    }
    ADD_FAILURE() << "malformed file accepted";
    return Reason::CannotRead;
}

std::vector<std::uint8_t> Copy(std::optional<std::span<const std::uint8_t>> image) {
    return image ? std::vector<std::uint8_t>(image->begin(), image->end())
                 : std::vector<std::uint8_t>{};
}

ThemeFileWriter TwoEntries() {
    ThemeFileWriter w;
    w.Int("FormBorderColor", 0x123456).Bool("ButtonTransparentBool", 1);
    return w;
}

// A private folder per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("lanan_skin_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path path_;
};

} // namespace

TEST(ThemeFileReader, TerminatorFirstIsAnEmptyTheme) {
    const auto reader = Parse(ThemeFileWriter().Build());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->ImageCount() + reader->IntCount() + reader->BoolCount() + reader->TextCount(),
              0u);
    ThemeFileSlot slot;
    ASSERT_TRUE(slot.LoadBytes(ThemeFileWriter().Build()));
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        EXPECT_EQ(slot.GetInt(e), -1);
        EXPECT_EQ(slot.GetColor(e), 0xFFFFFFFFu);
        EXPECT_FALSE(slot.GetBool(e));
        EXPECT_FALSE(slot.GetImage(e));
    }
}

TEST(ThemeFileReader, AFullStyleReadsBackAsTheBuiltInTable) {
    ThemeFileSlot slot;
    ASSERT_TRUE(slot.LoadBytes(theme_test::WriterForStyle(TsuiUIStyle::WinXP).Build()));
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        const BuiltInThemeEntry built = GetBuiltInThemeEntry(TsuiUIStyle::WinXP, e);
        switch (built.kind) {
        case ThemeValueKind::Image: {
            const auto bmp = slot.GetImage(e);
            ASSERT_TRUE(bmp) << e;
            EXPECT_EQ(bmp->size(), 2 + built.resourceName.size());
            EXPECT_EQ((*bmp)[0], 'B');
            break;
        }
        case ThemeValueKind::Boolean:
            EXPECT_EQ(slot.GetBool(e), built.value != 0) << e;
            break;
        case ThemeValueKind::Color:
            EXPECT_EQ(slot.GetColor(e), static_cast<ThemeColor>(built.value)) << e;
            break;
        case ThemeValueKind::Integer:
            EXPECT_EQ(slot.GetInt(e), built.value) << e;
            break;
        }
    }
    EXPECT_EQ(slot.Reader()->ImageCount(), 19u);
    EXPECT_EQ(slot.Reader()->IntCount(), 21u);
    EXPECT_EQ(slot.Reader()->BoolCount(), 2u);
    // Elements outside 1 … 42 have no key, even if a file stores the empty one.
    ThemeFileWriter w;
    w.Int("", 7).Bool("", 1).Image("", FakeBmp("x"));
    ASSERT_TRUE(slot.LoadBytes(w.Build()));
    EXPECT_EQ(slot.GetInt(0), -1);
    EXPECT_FALSE(slot.GetBool(43));
    EXPECT_FALSE(slot.GetImage(-1));
}

TEST(ThemeFileReader, KeysMatchWithoutRegardToCase) {
    ThemeFileWriter w;
    w.Int("formbordercolor", 0x00C0FFEE)
        .Bool("BUTTONTRANSPARENTBOOL", 1)
        .Image("buttonimage", FakeBmp("b"));
    ThemeFileSlot slot;
    ASSERT_TRUE(slot.LoadBytes(w.Build()));
    EXPECT_EQ(slot.GetColor(ThemeElement::FormBorderColor), 0x00C0FFEEu);
    EXPECT_TRUE(slot.GetBool(ThemeElement::ButtonTransparentBool));
    EXPECT_TRUE(slot.GetImage(ThemeElement::ButtonImage));
    EXPECT_EQ(slot.Reader()->GetInt("FoRmBoRdErCoLoR"), 0x00C0FFEE);
}

TEST(ThemeFileReader, DoubleByteKeysAreNotCaseFolded) {
    // 0x81 0x41 and 0x81 0x61 are two different GBK characters, although
    // their trail bytes are 'A' and 'a'.
    ThemeFileWriter w;
    w.Int("\x81\x41", 1).Int("\x81\x61", 2).Int("\xC0\xB6Z", 3);
    const auto reader = Parse(w.Build());
    EXPECT_EQ(reader->GetInt("\x81\x41"), 1);
    EXPECT_EQ(reader->GetInt("\x81\x61"), 2);
    // An ASCII letter after a double-byte character still folds.
    EXPECT_EQ(reader->GetInt("\xC0\xB6z"), 3);
}

TEST(ThemeFileReader, FirstOfDuplicateKeysWins) {
    ThemeFileWriter w;
    w.Int("FormBorderColor", 1)
        .Int("FORMBORDERCOLOR", 2)
        .Bool("ButtonTransparentBool", 0)
        .Bool("ButtonTransparentBool", 1)
        .Image("ButtonImage", FakeBmp("first"))
        .Image("buttonimage", FakeBmp("second"))
        .Text("Name", "one")
        .Text("Name", "two");
    const auto reader = Parse(w.Build());
    EXPECT_EQ(reader->GetInt("FormBorderColor"), 1);
    EXPECT_FALSE(reader->GetBool("ButtonTransparentBool"));
    EXPECT_TRUE(reader->HasBool("ButtonTransparentBool"));
    EXPECT_EQ(Copy(reader->GetImage("ButtonImage")), FakeBmp("first"));
    EXPECT_EQ(reader->GetText("name"), "one");
    EXPECT_EQ(reader->IntCount(), 1u);
}

TEST(ThemeFileReader, IntegersAndBooleansByDataWidth) {
    ThemeFileWriter w;
    w.Int("w0", 0x7F, 0)
        .Int("w1", 0xAB, 1)
        .Int("w2", 0xFFFF, 2)
        .Int("w3", 0x00ABCDEF, 3)
        .Int("neg", -2, 4)
        .Raw("b0", 2, {})
        .Bool("bz", 0)
        .Bool("b2", 2)
        .Bool("bff", 0xFF);
    const auto reader = Parse(w.Build());
    EXPECT_EQ(reader->GetInt("w0"), 0);
    EXPECT_EQ(reader->GetInt("w1"), 0xAB);
    EXPECT_EQ(reader->GetInt("w2"), 0xFFFF); // narrow data is not sign-extended
    EXPECT_EQ(reader->GetInt("w3"), 0xABCDEF);
    EXPECT_EQ(reader->GetInt("neg"), -2);
    EXPECT_TRUE(reader->HasInt("w0"));
    EXPECT_FALSE(reader->GetBool("b0"));
    EXPECT_TRUE(reader->HasBool("b0"));
    EXPECT_FALSE(reader->GetBool("bz"));
    EXPECT_TRUE(reader->GetBool("b2"));
    EXPECT_TRUE(reader->GetBool("bff"));
    EXPECT_FALSE(reader->GetBool("missing"));
    EXPECT_EQ(reader->GetInt("missing"), -1);
}

TEST(ThemeFileReader, TextsUnknownTypesAndFullLengthKeys) {
    const std::string longKey(64, 'K');
    ThemeFileWriter w;
    w.Text("Author", "蓝桉").Raw("Odd", 9, {1, 2, 3}).Int(longKey, 5).Image("Empty", {});
    auto bytes = w.Build();
    // A skipped type's data is never read, so its offset may point anywhere.
    PutU32(bytes, w.RecordOffset(1) + Layout::kDataOffset, 0xFFFFFFF0u);
    const auto reader = Parse(bytes);
    EXPECT_EQ(reader->GetText("author"), "蓝桉");
    EXPECT_FALSE(reader->GetText("Odd"));
    EXPECT_EQ(reader->GetInt("Odd"), -1);
    EXPECT_EQ(reader->GetInt(longKey), 5); // the key fills its field, no NUL
    ASSERT_TRUE(reader->GetImage("Empty"));
    EXPECT_TRUE(reader->GetImage("Empty")->empty());
    EXPECT_FALSE(reader->GetImage("Missing"));
}

TEST(ThemeFileReader, RecordsMayComeInAnyOrder) {
    ThemeFileWriter w;
    w.Int("a", 1).Int("b", 2);
    auto bytes = w.Build();
    // Chain: header -> b -> a -> terminator.
    PutU32(bytes, Layout::kFirstRecordOffset, static_cast<std::uint32_t>(w.RecordOffset(1)));
    PutU32(bytes, w.RecordOffset(1) + Layout::kNextOffset,
           static_cast<std::uint32_t>(w.RecordOffset(0)));
    PutU32(bytes, w.RecordOffset(0) + Layout::kNextOffset,
           static_cast<std::uint32_t>(w.TerminatorOffset()));
    const auto reader = Parse(bytes);
    EXPECT_EQ(reader->GetInt("a"), 1);
    EXPECT_EQ(reader->GetInt("b"), 2);
}

TEST(ThemeFileReader, HeaderLengthsFrom24To29) {
    for (std::uint32_t hl = 24; hl <= 29; ++hl) {
        ThemeFileWriter w = TwoEntries();
        w.HeaderLength(hl);
        const auto reader = Parse(w.Build());
        EXPECT_EQ(reader->GetInt("FormBorderColor"), 0x123456) << hl;
    }
    for (std::uint32_t hl : {0u, 16u, 23u, 30u, 77u, 0xFFFFFFFFu}) {
        auto bytes = TwoEntries().Build();
        PutU32(bytes, Layout::kHeaderLengthOffset, hl);
        EXPECT_EQ(Rejection(bytes), Reason::BadHeaderLength) << hl;
    }
}

TEST(ThemeFileReader, TruncatedFilesAreRejected) {
    for (std::size_t n : {0, 1, 12, 15})
        EXPECT_EQ(Rejection(std::vector<std::uint8_t>(n, 0)), Reason::TruncatedHeader) << n;
    // The header length promises more bytes than there are.
    std::vector<std::uint8_t> shortHeader(26, 0);
    PutU32(shortHeader, Layout::kHeaderLengthOffset, 29);
    EXPECT_EQ(Rejection(shortHeader), Reason::TruncatedHeader);

    // Values sit at the end, so any cut loses a record or a value.
    ThemeFileWriter w = TwoEntries();
    w.Image("ButtonImage", FakeBmp("tail"));
    const auto full = w.Build();
    for (std::size_t n = 0; n < full.size(); ++n) {
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + n);
        EXPECT_THROW(Parse(cut), ThemeFileError) << n;
    }
}

TEST(ThemeFileReader, OffsetsAndSizesBeyondTheEndAreRejected) {
    const ThemeFileWriter w = TwoEntries();
    const auto good = w.Build();
    const auto size = static_cast<std::uint32_t>(good.size());

    auto firstPastEnd = good;
    PutU32(firstPastEnd, Layout::kFirstRecordOffset, size);
    EXPECT_EQ(Rejection(firstPastEnd), Reason::RecordOutOfRange);

    auto recordStraddles = good; // starts inside, ends one byte past
    PutU32(recordStraddles, Layout::kFirstRecordOffset, size - 76);
    EXPECT_EQ(Rejection(recordStraddles), Reason::RecordOutOfRange);

    auto nextHuge = good;
    PutU32(nextHuge, w.RecordOffset(0) + Layout::kNextOffset, 0xFFFFFFFFu);
    EXPECT_EQ(Rejection(nextHuge), Reason::RecordOutOfRange);

    auto dataPastEnd = good;
    PutU32(dataPastEnd, w.RecordOffset(0) + Layout::kDataOffset, size - 3);
    EXPECT_EQ(Rejection(dataPastEnd), Reason::DataOutOfRange);

    auto sizePastEnd = good; // the boolean's byte is the file's last
    for (std::uint32_t n : {2u, 0xFFFFFFFFu}) {
        PutU32(sizePastEnd, w.RecordOffset(1) + Layout::kDataSizeOffset, n);
        EXPECT_EQ(Rejection(sizePastEnd), Reason::DataOutOfRange) << n;
    }

    // offset + size wraps around in 32 bits.
    ThemeFileWriter img;
    img.Image("ButtonImage", FakeBmp("x"));
    auto wraps = img.Build();
    PutU32(wraps, img.RecordOffset(0) + Layout::kDataOffset, 0xFFFFFFFFu);
    PutU32(wraps, img.RecordOffset(0) + Layout::kDataSizeOffset, 2);
    EXPECT_EQ(Rejection(wraps), Reason::DataOutOfRange);

    // Data ending exactly at the end of the file is fine.
    EXPECT_TRUE(Parse(good));
}

TEST(ThemeFileReader, OverwideIntegersAndBooleansAreRejected) {
    ThemeFileWriter wideInt;
    wideInt.Raw("FormBorderWidthInt", 1, {1, 0, 0, 0, 0});
    EXPECT_EQ(Rejection(wideInt.Build()), Reason::IntegerTooWide);

    ThemeFileWriter wideBool;
    wideBool.Raw("ButtonTransparentBool", 2, {1, 0});
    EXPECT_EQ(Rejection(wideBool.Build()), Reason::BooleanTooWide);
}

TEST(ThemeFileReader, ChainsThatLoopAreRejected) {
    ThemeFileWriter w = TwoEntries();
    auto self = w.Build();
    PutU32(self, w.RecordOffset(0) + Layout::kNextOffset,
           static_cast<std::uint32_t>(w.RecordOffset(0)));
    EXPECT_EQ(Rejection(self), Reason::RecordChainLoops);

    auto back = w.Build();
    PutU32(back, w.RecordOffset(1) + Layout::kNextOffset,
           static_cast<std::uint32_t>(w.RecordOffset(0)));
    EXPECT_EQ(Rejection(back), Reason::RecordChainLoops);
}

TEST(ThemeFileReader, SizeAndChainLengthAreBounded) {
    std::vector<std::uint8_t> huge = TwoEntries().Build();
    huge.resize(Layout::kMaxFileSize + 1);
    EXPECT_EQ(Rejection(huge), Reason::CannotRead);
    huge.resize(Layout::kMaxFileSize); // trailing bytes are allowed
    EXPECT_TRUE(Parse(huge));

    // Entries of a skipped type: the walk itself is what is being limited.
    ThemeFileWriter w;
    for (std::size_t i = 0; i + 1 < Layout::kMaxRecords; ++i)
        w.Raw("", 9, {});
    auto bytes = w.Build();
    EXPECT_TRUE(Parse(bytes));
    w.Raw("", 9, {});
    EXPECT_EQ(Rejection(w.Build()), Reason::TooManyRecords);
}

TEST(ThemeFileReader, KeepsItsOwnCopyOfTheBytes) {
    ThemeFileWriter w = TwoEntries();
    w.Image("ButtonImage", FakeBmp("mine")).Text("Author", "me");
    auto bytes = w.Build();
    const auto reader = Parse(bytes);
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0xEE});
    bytes.clear();
    bytes.shrink_to_fit();
    EXPECT_EQ(Copy(reader->GetImage("buttonimage")), FakeBmp("mine"));
    EXPECT_EQ(reader->GetText("author"), "me");
    EXPECT_EQ(reader->GetInt("FormBorderColor"), 0x123456);
}

TEST(ThemeFileReader, ErrorsSayWhatIsWrong) {
    auto bytes = TwoEntries().Build();
    PutU32(bytes, Layout::kHeaderLengthOffset, 40);
    std::string error;
    EXPECT_EQ(TsuiThemeFileReader::TryParse(bytes, &error), nullptr);
    EXPECT_NE(error.find("header length 40"), std::string::npos) << error;
    EXPECT_EQ(TsuiThemeFileReader::TryParse(bytes), nullptr);
}

TEST(ThemeFileSlot, ANewThemeReplacesTheOldOnlyWhenItParses) {
    ThemeFileSlot slot;
    EXPECT_FALSE(slot.HasTheme());
    // Without a theme: 0 for colours and integers, false for booleans.
    EXPECT_EQ(slot.GetColor(ThemeElement::FormBorderColor), 0u);
    EXPECT_EQ(slot.GetInt(ThemeElement::FormBorderWidthInt), 0);

    ASSERT_TRUE(slot.LoadBytes(theme_test::WriterForStyle(TsuiUIStyle::WinXP).Build()));
    const TsuiThemeFileReader* first = slot.Reader();

    auto broken = theme_test::WriterForStyle(TsuiUIStyle::MacOS).Build();
    PutU32(broken, Layout::kHeaderLengthOffset, 30);
    std::string error;
    EXPECT_FALSE(slot.LoadBytes(broken, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(slot.Reader(), first);
    EXPECT_EQ(slot.GetColor(ThemeElement::FormBorderColor), 0xC82C00u);

    ASSERT_TRUE(slot.LoadBytes(theme_test::WriterForStyle(TsuiUIStyle::BlueGlass).Build()));
    EXPECT_EQ(slot.GetInt(ThemeElement::FormMinWidthInt), 270);

    TempDir dir;
    EXPECT_FALSE(slot.LoadFile(dir.Path() / "absent.theme", &error));
    EXPECT_NE(error.find("absent.theme"), std::string::npos) << error;
    EXPECT_EQ(slot.GetInt(ThemeElement::FormMinWidthInt), 270);

    ASSERT_TRUE(slot.LoadFile(
        dir.Write("protein.theme", theme_test::WriterForStyle(TsuiUIStyle::Protein).Build())));
    EXPECT_EQ(slot.GetColor(ThemeElement::FormBackgroundColor), 0xFBFBFBu);
    EXPECT_FALSE(slot.LoadFile(dir.Write("bad.theme", broken)));
    EXPECT_EQ(slot.GetColor(ThemeElement::FormBackgroundColor), 0xFBFBFBu);
    slot.Clear();
    EXPECT_FALSE(slot.GetBool(ThemeElement::TitleBarButtonTransparentBool));
}

TEST(ThemeFilePath, BareNamesAreFoundBesideTheExecutable) {
    TempDir exeDir;
    TempDir elsewhere;
    const auto beside = exeDir.Write("blue.theme", ThemeFileWriter().Build());
    const auto here = elsewhere.Write("here.theme", ThemeFileWriter().Build());

    EXPECT_EQ(ResolveThemeFilePath(here, exeDir.Path()), here);
    // Only the file-name part of a path that does not exist counts.
    EXPECT_EQ(ResolveThemeFilePath(elsewhere.Path() / "blue.theme", exeDir.Path()), beside);
    EXPECT_EQ(ResolveThemeFilePath("blue.theme", exeDir.Path()), beside);
    EXPECT_FALSE(ResolveThemeFilePath("none.theme", exeDir.Path()));
    EXPECT_FALSE(ResolveThemeFilePath("", exeDir.Path()));
    // A folder of that name is no theme file.
    std::filesystem::create_directory(exeDir.Path() / "dir.theme");
    EXPECT_FALSE(ResolveThemeFilePath("dir.theme", exeDir.Path()));

    const auto reader =
        TsuiThemeFileReader::Load(*ResolveThemeFilePath("blue.theme", exeDir.Path()));
    EXPECT_EQ(reader->IntCount(), 0u);
    EXPECT_THROW(TsuiThemeFileReader::Load(exeDir.Path() / "dir.theme"), ThemeFileError);
}
