// The recommended rule set. It must read the same as bench/recommended_rules/recommended.json,
// the set the measurement runs; a test compares the two.
#include "config/recommended_rules.h"

namespace quill {

std::vector<TextLintRule> recommendedRules() {
    // "\x82\xc9" is に in code page 932, the code page the settings hold their texts in.
    // Doubled に is the particle of ordinary sentences such as 大阪支社に異動することになりました.
    return {
        {"max-ten", true, 1, {"\"max\":3"}},
        {"no-doubled-joshi", true, 1, {"\"allow\":[\"\x82\xc9\"]"}},
        {"no-dropping-the-ra", true, 1, {}},
        {"sentence-length", true, 1, {"\"max\":100"}},
        {"no-mix-dearu-desumasu", true, 1, {}},
        {"ja-no-redundant-expression", true, 1, {}},
        {"no-doubled-conjunction", true, 1, {}},
        {"no-doubled-conjunctive-particle-ga", true, 1, {}},
        {"no-double-negative-ja", true, 1, {}},
        {"ja-no-abusage", true, 1, {}},
        // Ruled lines (────, ====) of a signature are runs of one symbol, not a slip.
        {"ja-no-successive-word", true, 1, {"\"allow\":[\"/^[\\\\p{P}\\\\p{S}]+$/u\"]"}},
        {"ja-unnatural-alphabet", true, 1, {}},
        {"no-nfd", true, 1, {}},
    };
}

} // namespace quill
