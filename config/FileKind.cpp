#include "config/FileKind.h"

#include "config/FileKindText.h"
#include "config/Language.h"

namespace FileKind {

namespace {

constexpr CBilingual kNotRegular { "not a regular file (%1)", "不是普通文件 (%1)" };
constexpr CBilingual kDevice { "a device", "设备" };
constexpr CBilingual kFifo { "a FIFO", "管道" };
constexpr CBilingual kSocket { "a socket", "套接字" };
constexpr CBilingual kFolder { "a folder", "文件夹" };
constexpr CBilingual kLink { "a symbolic link", "符号链接" };
constexpr CBilingual kOther { "not a file", "非文件" };

} // namespace

QString NotRegularText(Thing thing)
{
    const CBilingual &kind = thing == Thing::Link ? kLink
        : thing == Thing::Folder                  ? kFolder
        : thing == Thing::Device                  ? kDevice
        : thing == Thing::Fifo                    ? kFifo
        : thing == Thing::Socket                  ? kSocket
                                                  : kOther;
    return kNotRegular.Text().arg(kind.Text());
}

} // namespace FileKind
