#include "services/runtime_footer.h"

#include "services/posix_file.h"
#include "services_test_util.h"

#include <gtest/gtest.h>

#include <functional>

namespace kindrel {
namespace {

RuntimeFooter SampleFooter() {
    RuntimeFooter footer;
    footer.bundleBytes = 5000;
    footer.indexBytes = 300;
    footer.unpackedBytes = 123456789;
    for (int i = 0; i < 16; ++i) footer.runtimeId[i] = static_cast<unsigned char>(i * 17);
    footer.glibcFloor = "2.34";
    footer.cxxFloor = "3.4.30";
    footer.compatGlibcFloor = "2.36";
    return footer;
}

std::string Error(const std::function<void()>& action) {
    try {
        action();
    } catch (const EBundleError& error) {
        return error.what();
    }
    return "no error";
}

TEST(RuntimeFooterTest, RoundTrip) {
    const RuntimeFooter footer = SampleFooter();
    const auto bytes = footer.ToBytes();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), 8), "KDRTBNDL");
    const std::optional<RuntimeFooter> back = RuntimeFooter::FromBytes(bytes.data());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bundleBytes, 5000u);
    EXPECT_EQ(back->indexBytes, 300u);
    EXPECT_EQ(back->unpackedBytes, 123456789u);
    EXPECT_EQ(back->runtimeId, footer.runtimeId);
    EXPECT_EQ(back->glibcFloor, "2.34");
    EXPECT_EQ(back->cxxFloor, "3.4.30");
    EXPECT_EQ(back->compatGlibcFloor, "2.36");
    EXPECT_EQ(back->RuntimeIdHex(), "00112233445566778899aabbccddeeff");
}

TEST(RuntimeFooterTest, NoMagicIsNoFooter) {
    auto bytes = SampleFooter().ToBytes();
    bytes[0] = 'X';
    EXPECT_FALSE(RuntimeFooter::FromBytes(bytes.data()));
}

TEST(RuntimeFooterTest, EveryBadFooterIsAClearError) {
    struct Case {
        const char* name;
        std::function<void(RuntimeFooter&, std::array<unsigned char, kRuntimeFooterSize>&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"version", [](RuntimeFooter&, auto& b) { b[8] = 2; }, "layout 2"},
        {"size", [](RuntimeFooter&, auto& b) { b[12] = 64; }, "does not know"},
        {"checksum", [](RuntimeFooter&, auto& b) { b[20] ^= 1; }, "checksum mismatch"},
        {"crc itself", [](RuntimeFooter&, auto& b) { b[127] ^= 0x80; }, "checksum mismatch"},
        {"no index", [](RuntimeFooter& f, auto&) { f.indexBytes = 0; }, "impossible index"},
        {"index past bundle", [](RuntimeFooter& f, auto&) { f.indexBytes = 5000; },
         "impossible index"},
        {"huge index",
         [](RuntimeFooter& f, auto&) { f.indexBytes = 1ull << 40, f.bundleBytes = ~0ull; },
         "impossible index"},
        {"bad version text", [](RuntimeFooter& f, auto&) { f.glibcFloor = "2.3x"; },
         "unreadable version"},
    };
    for (const Case& c : cases) {
        RuntimeFooter footer = SampleFooter();
        std::array<unsigned char, kRuntimeFooterSize> unused{};
        c.spoil(footer, unused);
        auto bytes = footer.ToBytes();
        c.spoil(footer, bytes);
        const std::string error = Error([&] { RuntimeFooter::FromBytes(bytes.data()); });
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
    RuntimeFooter longText = SampleFooter();
    longText.cxxFloor = std::string(16, '1');
    EXPECT_NE(Error([&] { longText.ToBytes(); }).find("does not fit"), std::string::npos);
}

TEST(RuntimeFooterTest, ReadFromAFileAtItsEnd) {
    test::ScratchDir dir;
    const auto footer = SampleFooter().ToBytes();
    const std::string launcher(6000, 'L');
    const std::string after = "QZLMDATA archive";
    test::WriteFileText(
        dir / "file", launcher +
                          std::string(reinterpret_cast<const char*>(footer.data()), footer.size()) +
                          after);
    const WUniqueFd fd = OpenForReading(dir / "file");
    const long long end = static_cast<long long>(launcher.size() + footer.size());
    const std::optional<RuntimeFooterInfo> info = ReadRuntimeFooter(fd.Get(), end);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->footerOffset, 6000);
    EXPECT_EQ(info->bundleOffset, 1000);
    EXPECT_FALSE(ReadRuntimeFooter(fd.Get(), end + 3));  // not where a footer ends
    EXPECT_FALSE(ReadRuntimeFooter(fd.Get(), 100));      // too short to hold one
    // A bundle larger than what precedes its footer points outside the file.
    test::WriteFileText(dir / "short", std::string(4000, 'L') +
                                           std::string(reinterpret_cast<const char*>(footer.data()),
                                                       footer.size()));
    const WUniqueFd shortFd = OpenForReading(dir / "short");
    EXPECT_NE(Error([&] {
                  ReadRuntimeFooter(shortFd.Get(), 4000 + kRuntimeFooterSize);
              }).find("outside the file"),
              std::string::npos);
}

}  // namespace
}  // namespace kindrel
