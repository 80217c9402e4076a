// skipIdentifierPart: the run it finds ends where the byte classes say, whatever the byte and wherever it stands.
#include "frontend/identifier_scan.h"

#include <gtest/gtest.h>

#include <array>

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(IdentifierScanTest, RunEndsAtTheFirstByteOutsideTheIdentifierClass) {
    // A run of identifier bytes, then each of the 256 byte values at each place in and across
    // two blocks of sixteen: the run ends there exactly when the class table excludes the byte.
    for (int byte = 0; byte < 256; ++byte) {
        for (size_t place = 0; place < 40; ++place) {
            std::array<unsigned char, 64> text{};
            for (size_t i = 0; i < place; ++i) text[i] = "aZ_9:"[i % 5];
            text[place] = static_cast<unsigned char>(byte);
            const size_t end = static_cast<size_t>(skipIdentifierPart(text.data()) - text.data());
            const bool inRun = inClass(byte, kIdentifierPart);
            EXPECT_EQ(end, inRun ? place + 1 : place) << "byte " << byte << " at " << place;
        }
    }
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
