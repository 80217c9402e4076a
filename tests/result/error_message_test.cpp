// Tests of the message composer that writes the result's error text.
#include "result/error_message.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"

namespace {

using lumoidl::test::text;

TEST(ErrorMessageTest, SetReplacesAndPiecesAppend) {
    ZEMRA::LumoStringImpl target;
    target.text = text("earlier failure");
    ZEMRA::ErrorMessage(target)
        .set(LUMO_TEXT("Method "))
        .quoted("Caf\xC3\xA9")
        .text(LUMO_TEXT(" of library "))
        .utf8("Lib")
        .character('"');
    EXPECT_EQ(target.text, text("Method \"Caf\xC3\xA9\" of library Lib\""));
}

TEST(ErrorMessageTest, Utf8PieceStopsAtItsFirstZero) {
    ZEMRA::LumoStringImpl target;
    ZEMRA::ErrorMessage(target).set(LUMO_TEXT("a")).utf8(std::string_view("b\0c", 3)).text(LUMO_TEXT("d"));
    EXPECT_EQ(target.text, text("abd"));
}

TEST(ErrorMessageTest, InvalidUtf8BecomesReplacementCharacters) {
    ZEMRA::LumoStringImpl target;
    ZEMRA::ErrorMessage(target).set(LUMO_TEXT("")).utf8("x\xFFy");
    ZEMRA::LumoText expected = text("x");
    expected += LumoChar(0xFFFD);
    expected += text("y");
    EXPECT_EQ(target.text, expected);
}

}  // namespace
