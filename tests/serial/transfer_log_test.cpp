// The transfer log's burst encoding and reading.

#include <gtest/gtest.h>

#include <random>

#include "app/errors.h"
#include "serial/transfer_log.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

TEST(TransferLog, BurstsRoundTripWithinTwiceTheirSizeAndDamageIsNamed) {
    std::mt19937 random(7);
    std::vector<std::string> bursts = {"", " ", "For M5|Adr     1|\r\n", "a\\b\\x41 \t"};
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    bursts.push_back(all);
    for (int i = 0; i < 50; ++i) {
        std::string b(1 + random() % 300, ' ');
        for (auto& c : b) c = static_cast<char>(random() % (i % 2 ? 256 : 96) + (i % 2 ? 0 : 32));
        bursts.push_back(b);
    }
    for (const auto& b : bursts) {
        const std::string encoded = EncodeBurst(b);
        EXPECT_EQ(encoded.find('\n'), std::string::npos);
        EXPECT_LE(encoded.size(), 2 + 2 * b.size());
        EXPECT_EQ(DecodeBurst(encoded), b);
    }
    EXPECT_EQ(DecodeBurst("t a\\q"), std::nullopt);
    EXPECT_EQ(DecodeBurst("x 4"), std::nullopt);
    EXPECT_EQ(DecodeBurst("t \\x4"), std::nullopt);

    test::TestContext t;
    const auto good = t.writeFile("good.log",
                                  "# heading\nport /dev/ttyUSB0\nsettings 9600 baud\n"
                                  "instrument Zeiss Dini Series\nstart 2025-01-01T00:00:00Z\n"
                                  "burst 0 t AB\nburst 12 x 0d0a\nend 30 END\n");
    const TransferLog log = ReadTransferLog(good);
    EXPECT_EQ(log.port, "/dev/ttyUSB0");
    ASSERT_EQ(log.bursts.size(), 2u);
    EXPECT_EQ(log.bursts[1].milliseconds, 12);
    EXPECT_EQ(log.bursts[1].bytes, "\r\n");
    EXPECT_EQ(log.end, "END");
    const auto bad = t.writeFile("bad.log", "port x\nburst 5 x 0g\n");
    try {
        ReadTransferLog(bad);
        FAIL() << "a damaged burst was read";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tarvosen
