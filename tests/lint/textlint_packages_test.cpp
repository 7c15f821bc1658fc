// Where textlint and its packages are looked for, and the first lines of an error output.
#include "lint/lint_failure.h"
#include "config/textlint_command_path.h"
#include "lint/textlint_packages.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(TextLintPackages, RuleNamesMapToTheirNpmPackages) {
    const std::pair<const char *, const char *> cases[] = {
        {"max-ten", "textlint-rule-max-ten"},
        {"preset-ja-spacing", "textlint-rule-preset-ja-spacing"},
        {"textlint-rule-max-ten", "textlint-rule-max-ten"},
        {"@scope/name", "@scope/textlint-rule-name"},
        {"@scope/preset-x", "@scope/textlint-rule-preset-x"},
        {"@scope/textlint-rule-x", "@scope/textlint-rule-x"},
        {"@scope", "@scope/textlint-rule"},
    };
    for (const auto &[name, package] : cases)
        EXPECT_EQ(package, rulePackageName(name)) << name;
    // Only names npm takes from its registry are ever advised: "owner/name" is GitHub's.
    for (const char *package : {"textlint-rule-max-ten", "@scope/textlint-rule-x"})
        EXPECT_TRUE(isRegistryPackageName(package)) << package;
    for (const char *package : {"textlint-rule-quillcheck/half-width-kana", "owner/name",
                                "github:owner/name", "@scope/a/b", "@/x", "..\\x", ""})
        EXPECT_FALSE(isRegistryPackageName(package)) << package;
    EXPECT_EQ("C:\\t\\node_modules\\@scope\\textlint-rule-x",
              packageFolder("C:\\t\\", "@scope/textlint-rule-x"));
}

TEST(TextLintPackages, FoldersAboveTheCommandAndNpmsPlaces) {
    EXPECT_EQ((std::vector<std::string>{"C:\\a b\\npm", "C:\\a b", "C:"}),
              foldersAbove("\"C:\\a b\\npm\\textlint.cmd\""));
    EXPECT_TRUE(foldersAbove("textlint.cmd").empty());
    EXPECT_EQ(
        (std::vector<std::string>{"C:\\Users\\u\\AppData\\Roaming\\npm\\textlint.cmd",
                                  "C:\\bin\\textlint.cmd", "D:\\x y\\textlint.cmd"}),
        textLintCommandCandidates("C:\\Users\\u\\AppData\\Roaming", "C:\\bin\\;; \"D:\\x y\" ;"));
    EXPECT_EQ(std::vector<std::string>{"C:\\bin\\textlint.cmd"},
              textLintCommandCandidates("", "C:\\bin"));
    EXPECT_TRUE(isGlobalNpmFolder("C:\\Users\\u\\AppData\\Roaming\\NPM"));
    EXPECT_FALSE(isGlobalNpmFolder("C:\\textlint"));
}

TEST(LintFailureText, FirstLinesSkipBlanksAndStopAtTheLimit) {
    EXPECT_EQ(L"a\nb", firstLinesOf(L"\r\n  \na\r\n\nb  \nc\n", 2));
    EXPECT_EQ(L"abc…", firstLinesOf(L"abcdef", 5, 3));
    // Every reason says something, and names what it was given.
    LintFailure failure;
    failure.kind = LintFailureKind::MissingPackages;
    failure.missing = {{L"max-ten", L"textlint-rule-max-ten"}};
    failure.installFolder = L"C:\\tl";
    const std::wstring text = describeLintFailure(failure);
    EXPECT_NE(std::wstring::npos, text.find(L"cd /d \"C:\\tl\""));
    EXPECT_NE(std::wstring::npos, text.find(L"npm install textlint-rule-max-ten"));
    for (int kind = 1; kind <= static_cast<int>(LintFailureKind::Internal); ++kind) {
        failure.kind = static_cast<LintFailureKind>(kind);
        EXPECT_FALSE(describeLintFailure(failure).empty()) << kind;
    }
}

} // namespace
} // namespace quill
