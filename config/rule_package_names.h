// Which packages in a node_modules folder are textlint rules or presets, and the name the
// settings give each. Platform-free: the folders are listed in config/installed_rules.h.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// The rule name textlint takes for the package folder `folder` (inside the scope folder
// `scope`, such as "@textlint-ja", or directly in node_modules when `scope` is empty):
// textlint-rule-max-ten -> max-ten, textlint-rule-preset-ja-spacing -> preset-ja-spacing,
// @scope/textlint-rule-foo -> @scope/foo, @scope/textlint-rule -> @scope. Empty for any
// other package, and for textlint-rule-helper, a library rules are written with.
std::string ruleNameOfPackage(std::string_view scope, std::string_view folder);

// The "description" of a package.json text (UTF-8), or empty when it has none.
std::string packageDescription(std::string_view packageJson);

} // namespace quill
