// Whether the persons a mail greets are among those it goes to: names compared with blanks
// ignored and full-width and half-width forms folded. Platform-free.
#pragma once

#include "checks/addressee_block.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Whether `utf8` holds a kana or a kanji.
bool isInJapaneseScript(std::string_view utf8);

// `utf8` as names are compared: blanks and middle dots dropped, full-width ASCII and
// half-width katakana in their usual width, ASCII letters in lower case, old and
// machine-dependent forms of kanji in their usual form (齋 → 斎, 髙 → 高).
std::string foldedName(std::string_view utf8);

// The persons of `greeted` whom no recipient bears: a person is borne by a recipient whose
// display name (UTF-8) contains the name, or its last blank-separated part, or is contained
// in it (山田様 and 山田太郎様 for 「山田 太郎」). Empty when no display name is in Japanese
// script, since a name in Latin letters or an address alone cannot be compared; a person
// whose name is not in Japanese script is never named either.
std::vector<GreetedPerson> unaddressedPersons(const std::vector<GreetedPerson> &greeted,
                                              const std::vector<std::string> &displayNames);

} // namespace quill
