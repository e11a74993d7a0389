#include "config/CommandPrompts.h"

#include "config/Language.h"

namespace CommandPrompts {

namespace {

struct Prompt
{
    int command;
    CBilingual text; // "status prompt\ntool tip"
};

constexpr Prompt kPrompts[] = {
    { 32773, { "Read Data From Radio\nRead", "从电台读取数据\n读取" } },
    { 32774, { "Write Data To Radio\nWrite", "写数据到电台\n写入" } },
    { 32860, { "Show every read and write of a radio, when and how it ended\nProgramming Log",
                 "显示每次读写电台的记录: 时间及结果\n编程日志" } },
    { 32870, { "Show the folder of your backups, serial traces and programming log\nOpen Data Folder",
                 "显示备份、串口记录和编程日志所在的文件夹\n打开数据文件夹" } },
    { 57600, { "Create a new document\nNew", "建立新文档\n新建" } },
    { 57601, { "Open an existing document\nOpen", "打开一个现有文档\n打开" } },
    { 57602, { "Close the active document\nClose", "关闭活动文档\n关闭" } },
    { 57603, { "Save the active document\nSave", "保存活动文档\n保存" } },
    { 57604, { "Save the active document with a new name\nSave As", "用新名称保存活动文档\n另存为" } },
    { 57606, { "Change the printer and printing options\nPrint Setup", "改变打印机及打印选项\n打印设置" } },
    { 57607, { "Print the active document\nPrint", "打印活动文档\n打印" } },
    { 57609, { "Display full pages\nPrint Preview", "显示整页\n打印预览" } },
    { 57664, { "Display program information, version number and copyright\nAbout",
                 "显示程序信息、版本号和版权\n关于" } },
    { 57665, { "Quit the application; prompts to save documents\nExit", "退出应用程序; 提示保存文档\n退出" } },
    { 57680, { "Switch to the next window pane\nNext Pane", "切换到下一个窗格\n下一窗格" } },
    { 57681, { "Switch back to the previous window pane\nPrevious Pane", "切换回上一个窗格\n上一窗格" } },
    { 59392, { "Show or hide the toolbar\nToggle ToolBar", "显示或隐藏工具栏\n显隐工具栏" } },
    { 59393, { "Show or hide the status bar\nToggle StatusBar", "显示或隐藏状态栏\n显隐状态栏" } },
};

QString Part(int command, int part)
{
    for (const Prompt &prompt : kPrompts)
        if (prompt.command == command)
            return prompt.text.Text().section(QLatin1Char('\n'), part, part);
    return {};
}

} // namespace

QString StatusPrompt(int command)
{
    return Part(command, 0);
}

QString ToolTip(int command)
{
    return Part(command, 1);
}

QString Ready()
{
    return CBilingual { "Ready", "就绪" }.Text();
}

} // namespace CommandPrompts
