#include "app/fatal_text.h"

namespace tolvane {

const char* const kLoadTemplateFailed = "载入窗口模板数据段出错!";
const char* const kCreateWindowFailed = "载入启动窗口失败";
const char* const kStackImbalance = "调用DLL命令后发现堆栈错误";
const char* const kFatalCaption = "错误";

std::string FatalErrorText(const std::string& message, int code) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
    if (!message.empty()) text += "错误信息：" + message + "\r\n";
    return text;
}

// Spliced rather than formatted: a library path may hold '%' and must come out as written.
std::string BindFailureMessage(const std::string& library, const std::string& exportName) {
    return "无法找到指定DLL库文件“" + library + "”中的输出命令“" + exportName + "”";
}

std::string AllocationFailureMessage(std::size_t bytes) {
    return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

}  // namespace tolvane
