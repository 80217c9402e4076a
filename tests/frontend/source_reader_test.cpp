// SourceReader: what the lexer cannot show, that appendWhile and skipWhile take a run whole across blocks.
#include "frontend/source_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_host.h"

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(SourceReaderTest, RunsAreTakenWholeAcrossBlocks) {
    const lumoidl::test::ScratchDir dir;
    SourceReader reader(0);  // reads blocks of one byte
    ASSERT_EQ(reader.open(lumoidl::test::pathText(dir.write("source.idl", "abcdefgh \n ;")).c_str()), 0);
    std::string out = "x";
    EXPECT_EQ(reader.appendWhile(out, [](unsigned char byte) { return byte >= 'a'; }), 8u);
    EXPECT_EQ(out, "xabcdefgh");
    reader.skipWhile([](unsigned char byte) { return byte != ';'; });
    EXPECT_EQ(reader.next(), ';');
    EXPECT_EQ(reader.next(), -1);
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
