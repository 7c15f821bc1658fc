// The evaluation value of the findings against the threshold of the settings.
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace quill {
namespace {

struct EvaluationCase {
    const char *name;
    std::vector<TextLintRule> rules;
    std::vector<std::string> findingRules;
    int threshold;
    bool over;
};

class Evaluation : public testing::TestWithParam<EvaluationCase> {
  protected:
    void SetUp() override {
        savedRules_ = config().getRules();
        savedThreshold_ = config().snapshot().evaluateValueThreshold;
    }
    void TearDown() override {
        config().setRules(savedRules_);
        config().update([&](TextLintSettings &s) { s.evaluateValueThreshold = savedThreshold_; });
    }
    static TextLintConfig &config() { return TextLintConfig::getInstance(); }

  private:
    std::vector<TextLintRule> savedRules_;
    int savedThreshold_ = 0;
};

TEST_P(Evaluation, WeighsEveryFindingByItsRule) {
    const EvaluationCase &c = GetParam();
    config().setRules(c.rules);
    config().update([&](TextLintSettings &s) { s.evaluateValueThreshold = c.threshold; });
    std::string report;
    for (const std::string &rule : c.findingRules)
        report += "C:\\T\\a.txt: line 1, col 1, Error - x (" + rule + ")\n";
    LintResultController engine;
    engine.parseLintResultInCompactFormat(report);
    ASSERT_EQ(engine.getLintResults().size(), c.findingRules.size());
    EXPECT_EQ(engine.isEvaluateValueOverThreshold(), c.over);
}

TextLintRule rule(const std::string &name, int weight, bool enabled = true) {
    return TextLintRule{name, enabled, weight, {}};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Evaluation,
    testing::Values(
        EvaluationCase{"EqualIsNotOver", {rule("r1", 3)}, {"r1", "r1", "r2"}, 6, false},
        EvaluationCase{"OneBelowIsOver", {rule("r1", 3)}, {"r1", "r1", "r2"}, 5, true},
        EvaluationCase{"NamesAreCaseSensitive", {rule("R1", 10)}, {"r1"}, 0, false},
        EvaluationCase{"NameMustMatchWhole", {rule("r1", 10)}, {"r10"}, 0, false},
        EvaluationCase{"DisabledRulesWeighToo", {rule("r1", 4, false)}, {"r1"}, 3, true},
        EvaluationCase{"NoFindingsExceedOnlyANegativeThreshold", {rule("r1", 3)}, {}, 0, false},
        EvaluationCase{"NoFindingsOverNegativeThreshold", {rule("r1", 3)}, {}, -1, true},
        EvaluationCase{"NegativeWeightsLowerTheValue",
                       {rule("good", -5), rule("bad", 2)},
                       {"bad", "good"},
                       -4,
                       true},
        EvaluationCase{"NegativeSumEqualToThreshold", {rule("good", -5)}, {"good"}, -5, false},
        EvaluationCase{"HeavyRulesDoNotWrapAround",
                       {rule("heavy", INT_MAX)},
                       {"heavy", "heavy"},
                       INT_MAX - 1,
                       true}),
    [](const testing::TestParamInfo<EvaluationCase> &info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace quill
