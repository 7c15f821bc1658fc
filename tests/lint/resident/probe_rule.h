// A rule package of the tests' own in the real textlint's folder (textlintFolder()),
// reporting its message at every "プローブ"; removed with the object. Under a `@scope` folder
// of its own when given one, which then goes with it too.
#pragma once

#include "tests/support/test_paths.h"

#include <windows.h>

#include <string>

namespace quill::test {

class ProbeRule {
  public:
    // `scope` is "" or "@name"; the rule is then configured as "quill-probe" or
    // "@name/quill-probe".
    explicit ProbeRule(const std::string &message, const std::string &scope = "")
        : scope_(scope), folder_(nodeModules() + (scope.empty() ? "" : scope + "\\") +
                                 "textlint-rule-quill-probe") {
        create(message);
    }
    ~ProbeRule() { remove(); }
    ProbeRule(const ProbeRule &) = delete;
    ProbeRule &operator=(const ProbeRule &) = delete;

    std::string name() const { return scope_.empty() ? "quill-probe" : scope_ + "/quill-probe"; }
    std::string scopeFolder() const { return nodeModules() + scope_; }

    // Writes the package (and its `@scope` folder) anew. A folder just removed may stay in
    // the way for a moment while another process still holds it open.
    void create(const std::string &message) {
        for (int attempt = 0; attempt < 100 && !createFolders(); ++attempt)
            Sleep(100);
        writeFileBytes(
            folder_ + "\\package.json",
            "{\"name\":\"" + (scope_.empty() ? "" : scope_ + "/") +
                "textlint-rule-quill-probe\",\"version\":\"1.0.0\",\"main\":\"index.js\"}\n");
        setMessage(message);
    }
    // Removes the package; `withScope` its `@scope` folder too, as npm does with the last
    // package of a scope.
    void remove(bool withScope = true) {
        DeleteFileA((folder_ + "\\index.js").c_str());
        DeleteFileA((folder_ + "\\package.json").c_str());
        RemoveDirectoryA(folder_.c_str());
        if (withScope && !scope_.empty())
            RemoveDirectoryA(scopeFolder().c_str());
    }
    void setMessage(const std::string &message) {
        writeFileBytes(
            folder_ + "\\index.js",
            "module.exports = function (context) {\n"
            "  const { Syntax, RuleError, report, getSource } = context;\n"
            "  return {\n"
            "    [Syntax.Str](node) {\n"
            "      const at = getSource(node).indexOf(\"\\u30d7\\u30ed\\u30fc\\u30d6\");\n"
            "      if (at >= 0) report(node, new RuleError(\"" +
                message +
                "\", { index: at }));\n"
                "    }\n"
                "  };\n"
                "};\n");
    }

  private:
    static std::string nodeModules() { return textlintFolder() + "\\node_modules\\"; }

    bool createFolders() {
        if (!scope_.empty() && !CreateDirectoryA(scopeFolder().c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        return CreateDirectoryA(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }

    std::string scope_;
    std::string folder_;
};

} // namespace quill::test
