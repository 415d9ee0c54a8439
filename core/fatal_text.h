// Texts of the fatal error box, composed without touching the platform.
#pragma once
#include <cstddef>
#include <string>

namespace tolvane {

// "运行时出错!\r\n\r\n" [+ "错误代码：" code "\r\n\r\n"] [+ "错误信息：" message "\r\n"]
std::string FatalErrorText(const std::string& message, int code);

// "无法找到指定DLL库文件“<library>”中的输出命令“<exportName>”"
std::string BindFailureMessage(const std::string& library, const std::string& exportName);

// "分配 <bytes> 字节内存失败!"
std::string AllocationFailureMessage(std::size_t bytes);

// The whole box text for a failed allocation of `bytes`, the same as
// FatalErrorText(AllocationFailureMessage(bytes), 0), written into `out`
// without touching the heap: it is composed when the heap has just failed.
// Always zero-terminated (cut short when `capacity` is too small); returns
// the length written.
std::size_t ComposeAllocationFailureText(std::size_t bytes, char* out, std::size_t capacity);

extern const char* const kLoadTemplateFailed;  // "载入窗口模板数据段出错!"
extern const char* const kCreateWindowFailed;  // "载入启动窗口失败"
extern const char* const kStackImbalance;      // "调用DLL命令后发现堆栈错误"
extern const char* const kFatalCaption;        // "错误"
constexpr int kStackImbalanceCode = 6;

}  // namespace tolvane
