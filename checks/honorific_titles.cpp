// Looking a title up at the end of a stretch of text.
#include "checks/honorific_titles.h"

namespace quill {

std::string_view honorificTitleEndingAt(std::string_view text, std::size_t end) {
    for (std::string_view title : HONORIFIC_TITLES)
        if (end <= text.size() && end >= title.size() &&
            text.substr(end - title.size(), title.size()) == title)
            return title;
    return {};
}

} // namespace quill
