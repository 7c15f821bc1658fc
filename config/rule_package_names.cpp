// Rule names of installed packages and their descriptions.
#include "config/rule_package_names.h"

#include "common/json_value.h"

namespace quill {

namespace {

constexpr std::string_view RULE_PREFIX = "textlint-rule-";
constexpr std::string_view SCOPED_RULE_PACKAGE = "textlint-rule";
// A library that rules are written with, installed beside them as their dependency.
constexpr std::string_view RULE_HELPER_PACKAGE = "textlint-rule-helper";

} // namespace

std::string ruleNameOfPackage(std::string_view scope, std::string_view folder) {
    const bool scoped = !scope.empty();
    if (scoped && (scope.size() < 2 || scope.front() != '@'))
        return std::string();
    if (scoped && folder == SCOPED_RULE_PACKAGE)
        return std::string(scope);
    if (folder.size() <= RULE_PREFIX.size() ||
        folder.substr(0, RULE_PREFIX.size()) != RULE_PREFIX || folder == RULE_HELPER_PACKAGE)
        return std::string();
    const std::string_view shortName = folder.substr(RULE_PREFIX.size());
    return scoped ? std::string(scope) + "/" + std::string(shortName) : std::string(shortName);
}

std::string packageDescription(std::string_view packageJson) {
    const JsonValue package = JsonValue::parseWhole(packageJson);
    if (!package.isObject())
        return std::string();
    const JsonValue description = package.member("description");
    return description.isString() ? description.asString() : std::string();
}

} // namespace quill
