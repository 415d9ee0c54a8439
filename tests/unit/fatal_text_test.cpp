#include "core/fatal_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tolvane {
namespace {

const std::string kHeading = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
const std::string kCodeLabel = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";         // 错误代码：
const std::string kMessageLabel = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";      // 错误信息：

TEST(FatalText, StackImbalanceShowsCodeAndMessage) {
    EXPECT_EQ(FatalErrorText(kStackImbalance, kStackImbalanceCode),
              kHeading + kCodeLabel + "6\r\n\r\n" + kMessageLabel + kStackImbalance + "\r\n");
    EXPECT_EQ(FatalErrorText(kStackImbalance, 6),
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
}

TEST(FatalText, CodeZeroLeavesOutTheCodeLine) {
    EXPECT_EQ(FatalErrorText(kCreateWindowFailed, 0),
              kHeading + kMessageLabel + "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n");
    EXPECT_EQ(FatalErrorText("", 0), kHeading);
    EXPECT_EQ(FatalErrorText("", -1), kHeading + kCodeLabel + "-1\r\n\r\n");
}

TEST(FatalText, BindFailureNamesLibraryAndExportInFullWidthQuotes) {
    EXPECT_EQ(BindFailureMessage("C:\\WINDOWS\\system\\Skin.dll", "SkinH_Attach_Ex"),
              "无法找到指定DLL库文件“C:\\WINDOWS\\system\\Skin.dll”中的输出命令“SkinH_Attach_Ex”");
    const std::string m = BindFailureMessage("a", "b");
    EXPECT_NE(m.find("\xA1\xB0"
                     "a\xA1\xB1"),
              std::string::npos);
    EXPECT_NE(m.find("\xA1\xB0"
                     "b\xA1\xB1"),
              std::string::npos);
    // Outside text is spliced in verbatim, never read as a format.
    EXPECT_EQ(BindFailureMessage("%s%n%d", "%%"), "无法找到指定DLL库文件“%s%n%d”中的输出命令“%%”");
}

TEST(FatalText, AllocationFailureAndFixedTexts) {
    EXPECT_EQ(AllocationFailureMessage(260), "\xB7\xD6\xC5\xE4 260 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
    EXPECT_EQ(AllocationFailureMessage(4294967295u), "分配 4294967295 字节内存失败!");
    // The one fatal text no run can bring about, as its box would show it.
    EXPECT_EQ(FatalErrorText(kLoadTemplateFailed, 0), "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
}

// Composed when the heap has just failed, so without it; it must still say
// exactly what the composed text says, and never overrun its buffer.
TEST(FatalText, AllocationFailureTextWithoutTheHeapMatchesTheComposedOne) {
    for (std::size_t bytes : {std::size_t{0}, std::size_t{7}, std::size_t{1048576}, ~std::size_t{0}}) {
        SCOPED_TRACE(bytes);
        const std::string expected = FatalErrorText(AllocationFailureMessage(bytes), 0);
        char out[128];
        std::memset(out, 'x', sizeof out);
        ASSERT_EQ(ComposeAllocationFailureText(bytes, out, sizeof out), expected.size());
        EXPECT_EQ(std::string(out), expected);
        for (std::size_t capacity : {std::size_t{1}, std::size_t{20}, expected.size()}) {
            std::memset(out, 'x', sizeof out);
            EXPECT_EQ(ComposeAllocationFailureText(bytes, out, capacity), capacity - 1);
            EXPECT_EQ(std::string(out), expected.substr(0, capacity - 1));
            EXPECT_EQ(out[capacity], 'x') << "wrote beyond " << capacity << " bytes";
        }
    }
}

}  // namespace
}  // namespace tolvane
