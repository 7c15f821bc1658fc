// One textlint rule of the settings: its name, check box, weight and option fragments.
#pragma once

#include <string>
#include <vector>

namespace quill {

struct TextLintRule {
    std::string name;
    bool enabled = false;
    int weight = 0;
    // Each fragment is one member of the rule's JSON option object, such as "\"max\":3".
    // An empty list means the rule has no options.
    std::vector<std::string> options;
};

} // namespace quill
