// Builds realistic compact reports of a given size for the parse benchmark.
#include "bench/report/report_generator.h"

#include <iterator>

namespace quill::bench {

namespace {

const char PATH[] = "C:\\Users\\taro\\AppData\\Local\\Temp\\Qui3F2A.tmp.txt";

struct Sample {
    const char *severityAndMessage;
    const char *rule;
};

const Sample SAMPLES[] = {
    {"Error - 一つの文で\"、\"を4つ以上使用しています", "max-ten"},
    {"Error - 一文に二回以上利用されている助詞 \"は\" がみつかりました。", "no-doubled-joshi"},
    {"Error - Line 12 sentence length(124) exceeds the maximum sentence length of 100.\n"
     "Over 24 characters.",
     "sentence-length"},
    {"Error - 原則として、全角文字同士の間にスペースを入れません。",
     "ja-spacing/ja-no-space-between-full-width"},
    {"Warning - 冗長な表現です (例: することができる)", "ja-no-redundant-expression"},
};

} // namespace

std::string generateCompactReport(std::size_t bytes, std::size_t &findings) {
    std::string report;
    report.reserve(bytes + 256);
    findings = 0;
    while (report.size() < bytes) {
        const Sample &sample = SAMPLES[findings % std::size(SAMPLES)];
        report += PATH;
        report += ": line " + std::to_string(findings / 3 + 1) + ", col " +
                  std::to_string(findings % 80 + 1) + ", ";
        report += sample.severityAndMessage;
        // Every tenth finding spans several lines, as messages of some rules do.
        if (findings % 10 == 9)
            report += "\n次の読点を減らしてください:\n- \"、\"\n";
        report += " (";
        report += sample.rule;
        report += ")\n";
        ++findings;
    }
    report += "\n" + std::to_string(findings) + " problems\n";
    return report;
}

} // namespace quill::bench
