#pragma once

#include "config/Language.h"

// Texts several sub-commands of program-cli print alike.
namespace CliTexts {

constexpr CBilingual kWrongCode { "Wrong access code: nothing was sent.", "访问码错误: 未发送任何数据。" };
constexpr CBilingual kTypeLabel { "Type", "类型" };
constexpr CBilingual kBandLabel { "Frequency", "频率" };
constexpr CBilingual kNotAnItem { "\"%1\" is not an item of %2; allowed: %3",
    "\"%1\" 不是%2的选项; 可选: %3" };

} // namespace CliTexts
