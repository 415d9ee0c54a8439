#include "core/fatal_text.h"

namespace tolvane {

const char* const kLoadTemplateFailed = "载入窗口模板数据段出错!";
const char* const kCreateWindowFailed = "载入启动窗口失败";
const char* const kStackImbalance = "调用DLL命令后发现堆栈错误";
const char* const kFatalCaption = "错误";

namespace {
const char kHeading[] = "运行时出错!\r\n\r\n";
const char kCodeLabel[] = "错误代码：";
const char kMessageLabel[] = "错误信息：";
const char kAllocationBefore[] = "分配 ";
const char kAllocationAfter[] = " 字节内存失败!";
}  // namespace

std::string FatalErrorText(const std::string& message, int code) {
    std::string text = kHeading;
    if (code != 0) text += kCodeLabel + std::to_string(code) + "\r\n\r\n";
    if (!message.empty()) text += kMessageLabel + message + "\r\n";
    return text;
}

// Spliced rather than formatted: a library path may hold '%' and must come out as written.
std::string BindFailureMessage(const std::string& library, const std::string& exportName) {
    return "无法找到指定DLL库文件“" + library + "”中的输出命令“" + exportName + "”";
}

std::string AllocationFailureMessage(std::size_t bytes) {
    return kAllocationBefore + std::to_string(bytes) + kAllocationAfter;
}

std::size_t ComposeAllocationFailureText(std::size_t bytes, char* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    std::size_t length = 0;
    const auto append = [&](const char* text) {
        for (; *text && length + 1 < capacity; ++text) out[length++] = *text;
    };
    char digits[24];
    char* d = digits + sizeof digits;
    *--d = '\0';
    do {
        *--d = static_cast<char>('0' + bytes % 10);
        bytes /= 10;
    } while (bytes != 0);
    append(kHeading);
    append(kMessageLabel);
    append(kAllocationBefore);
    append(d);
    append(kAllocationAfter);
    append("\r\n");
    out[length] = '\0';
    return length;
}

}  // namespace tolvane
