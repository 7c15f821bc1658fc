// The persons a mail greets in its addressee block, the lines at the top of the writer's
// own text before the greeting: 「株式会社クイル 営業部 山田様」, 「山田部長」. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct GreetedPerson {
    std::string written; // the name through its honorific or title, as written: 「山田太郎 様」
    std::string name; // the name alone, without company, department or title: 「山田太郎」;
                      // blank-separated parts keep one blank between them
};

// The persons greeted by the first non-empty lines of `utf8Text` (UTF-8, LF line ends),
// at most five, before the first blank line, greeting line (お世話になっております, はじめまして,
// ...) or rule line. A person is a name followed by 様, さま, さん, 殿, 先生 or a title that ends
// its line or is followed by another person; company and department words before it are
// not the name. Addressees in general (各位, 皆様, お客様, ご担当者様) are nobody in
// particular. Only the writer's own lines count: lines beginning with one of `quoteMarks`
// (UTF-8) and the signature (after the last "-- " or "--" line) are no block lines.
std::vector<GreetedPerson> greetedPersons(std::string_view utf8Text, std::string_view quoteMarks);

} // namespace quill
