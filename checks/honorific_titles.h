// Titles that honour their bearer by themselves (部長, 先生): a 様 or 殿 after one doubles the
// honorific. Shared by the checks that read addressees. Platform-free.
#pragma once

#include <cstddef>
#include <string_view>

namespace quill {

// Where one title ends another (本部長, 部長; 副社長, 社長), the longer comes first.
inline constexpr std::string_view HONORIFIC_TITLES[] = {
    "副社長", "社長",   "副会長", "会長", "理事長", "専務",   "常務",     "本部長",
    "副部長", "部長",   "次長",   "課長", "係長",   "支店長", "営業所長", "所長",
    "室長",   "工場長", "店長",   "局長", "院長",   "学長",   "校長",     "先生",
};

// The title that ends `text` at byte `end` (the longest one), or empty when none does.
std::string_view honorificTitleEndingAt(std::string_view text, std::size_t end);

} // namespace quill
