#include "command/document_text.h"

#include <gtest/gtest.h>

#include "command/scripted_interaction.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

TEST(DecodeDocument, ValidUtf8IsKeptAndItsByteOrderMarkSkipped) {
    EXPECT_EQ(DecodeDocument("1 2 3\r\n4 5 6"), "1 2 3\r\n4 5 6");
    EXPECT_EQ(DecodeDocument("\xEF\xBB\xBF" "x^2-2"), "x^2-2");
    EXPECT_EQ(DecodeDocument("\xE8\xBE\x93\xE5\x85\xA5"), "\xE8\xBE\x93\xE5\x85\xA5");  // 输入
    EXPECT_EQ(DecodeDocument(""), "");
}

TEST(DecodeDocument, OtherBytesAreReadAsGb18030) {
    EXPECT_EQ(DecodeDocument("\xCA\xE4\xC8\xEB x"), "\xE8\xBE\x93\xE5\x85\xA5 x");  // 输入 in GB18030
    EXPECT_EQ(EncodeDocument("\xE8\xBE\x93\xE5\x85\xA5"), "\xCA\xE4\xC8\xEB");
}

TEST(DecodeDocument, ArbitraryBytesComeOutAsValidUtf8) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    bytes += "\x81";  // a lead byte cut off at the end
    const std::string text = DecodeDocument(bytes);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(TraceLine, WritesEachEventOnOneTabSeparatedLine) {
    EXPECT_EQ(TraceLine({InteractionEvent::Kind::Prompt, "输入数据", "输入矩阵的阶数 n：", "3", "2"}),
              "prompt\t输入数据\t输入矩阵的阶数 n：\t3");
    EXPECT_EQ(TraceLine({InteractionEvent::Kind::Prompt, "Koravin", "a\r\nb", "", ""}), "prompt\tKoravin\ta\\r\\nb\t");
    EXPECT_EQ(TraceLine({InteractionEvent::Kind::Message, "Koravin", "此方法不合适！", "", ""}), "message\t此方法不合适！");
    EXPECT_EQ(TraceLine({InteractionEvent::Kind::Question, "精度设置提示", "q", "", "no"}), "question\t精度设置提示\tq\tno");
}

TEST(ScriptedInteraction, RepliesInOrderThenCancelAnswersInOrderThenYes) {
    ScriptedInteraction user({"3", "-1"}, {false});
    EXPECT_EQ(user.ask({"a", "", "d"}), "3");
    EXPECT_EQ(user.ask({"b", "t", ""}), "-1");
    EXPECT_EQ(user.ask({"c", "t", ""}), "");
    EXPECT_FALSE(user.confirm("q", "t"));
    EXPECT_TRUE(user.confirm("q", "t"));
    ASSERT_EQ(user.events().size(), 5u);
    EXPECT_EQ(user.events()[0].title, "Koravin");
    EXPECT_EQ(user.events()[0].defaultReply, "d");
}

}  // namespace
}  // namespace koravin
