// The persons an addressee block greets, and which of them no recipient bears.
#include "checks/addressee_block.h"
#include "checks/addressee_match.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

const std::string QUOTE_MARKS = ">＞";

// The names greeted, each as "written=name", joined by " | ".
std::string greeted(const std::string &text) {
    std::string listed;
    for (const GreetedPerson &person : greetedPersons(text, QUOTE_MARKS)) {
        if (!listed.empty())
            listed += " | ";
        listed += person.written + "=" + person.name;
    }
    return listed;
}

TEST(AddresseeBlock, PersonsAreNamedWithoutCompanyDepartmentOrTitle) {
    const struct {
        const char *text;
        const char *persons;
    } cases[] = {
        {"鈴木様\n\nお世話になっております。\n", "鈴木様=鈴木"},
        {"山田太郎 様\nお世話になっております。", "山田太郎 様=山田太郎"},
        {"株式会社クイル 営業部 山田様\n", "山田様=山田"},
        {"株式会社クイル\n営業部\n部長 山田 太郎 様\n\n本文", "山田 太郎 様=山田 太郎"},
        {"営業部山田様\n", "山田様=山田"},
        {"山田部長\n", "山田部長=山田"},
        {"営業本部長 山田様、鈴木課長\n", "山田様=山田 | 鈴木課長=鈴木"},
        {"山田様と鈴木さん\n", "山田様=山田 | 鈴木さん=鈴木"},
        {"阿部様、殿村様\n", "阿部様=阿部 | 殿村様=殿村"},
        {"(株)クイル 山田様（CC: 鈴木様）\n", "クイル 山田様=クイル 山田 | 鈴木様=鈴木"},
        {"  \n\n　ｽｽﾞｷ様\n", "ｽｽﾞｷ様=ｽｽﾞｷ"},
        {"山田先生\n", "山田先生=山田"},
        {"山田様へ\n山田様（営業部）\n", "山田様=山田 | 山田様=山田"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.persons, greeted(c.text)) << c.text;
}

TEST(AddresseeBlock, NobodyInParticularAndLinesOutsideTheBlockGreetNoOne) {
    for (const char *text : {
             "関係者各位\n\nお世話になっております。\n",
             "お客様各位\n",
             "皆様\nいつもお世話になっております。\n",
             "みなさま、こんにちは。\n",
             "株式会社クイル 御中\n",
             "株式会社クイル\n人事部 ご担当者様\n",
             "営業部様\n",
             "奥様\nお母様\n",
             "お疲れ様です。\n",
             "お世話になっております。\n鈴木様からご紹介いただきました。\n",
             "お世話になっております。\n\n鈴木様\n",
             "> 鈴木様\n> お世話になっております。\n\n承知しました。\n",
             "-----Original Message-----\n鈴木様\n",
             "\n-- \n鈴木様\n",
             "本日の会議の件です。\n資料は山田さんから受け取ってください。\n",
             "一\n二\n三\n四\n五\n鈴木様\n",
         })
        EXPECT_EQ("", greeted(text)) << text;
}

TEST(AddresseeMatch, AGreetedNameMatchesARecipientWhoseNameHoldsItWithBlanksAndWidthsFolded) {
    const std::vector<std::string> yamada = {"山田 太郎"};
    for (const char *text : {"山田様\n", "山田太郎 様\n", "山田　太郎様\n",
                             "株式会社クイル 山田様\n", "ｸｲﾙ 山田部長\n"}) {
        EXPECT_TRUE(unaddressedPersons(greetedPersons(text, QUOTE_MARKS), yamada).empty()) << text;
    }
    // The display name in the family register's kanji, the body in the everyday ones.
    EXPECT_TRUE(unaddressedPersons(greetedPersons("斎藤様、高橋様、渡辺様\n", QUOTE_MARKS),
                                   {"齋藤 一郎", "髙橋 花子", "渡邊 次郎"})
                    .empty());
    EXPECT_TRUE(unaddressedPersons(greetedPersons("ｽｽﾞｷ ｲﾁﾛｳ様\n", QUOTE_MARKS),
                                   {"スズキ　イチロウ (ＱＵＩＬＬ)"})
                    .empty());
    // A recipient named by the surname alone bears the whole name.
    EXPECT_TRUE(unaddressedPersons(greetedPersons("山田太郎様\n", QUOTE_MARKS), {"山田"}).empty());
}

TEST(AddresseeMatch, APersonNobodyBearsIsNamedOnlyWhenARecipientsNameIsInJapaneseScript) {
    const std::vector<GreetedPerson> suzuki = greetedPersons("鈴木様\n", QUOTE_MARKS);
    const std::vector<GreetedPerson> missing = unaddressedPersons(suzuki, {"山田 太郎", ""});
    ASSERT_EQ(1u, missing.size());
    EXPECT_EQ("鈴木様", missing[0].written);
    EXPECT_TRUE(unaddressedPersons(suzuki, {"山田 太郎", "鈴木 一郎"}).empty());
    EXPECT_TRUE(unaddressedPersons(suzuki, {"Taro Yamada", ""}).empty());
    EXPECT_TRUE(unaddressedPersons(suzuki, {}).empty());
    // 「田中様」 to 「中田」: the same characters in another order are another person.
    EXPECT_EQ(1u, unaddressedPersons(greetedPersons("田中様\n", QUOTE_MARKS), {"中田"}).size());
    // A name in Latin letters is not compared.
    EXPECT_TRUE(
        unaddressedPersons(greetedPersons("Smith様\n", QUOTE_MARKS), {"山田 太郎"}).empty());
}

} // namespace
} // namespace quill
