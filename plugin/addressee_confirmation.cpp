// The question about a greeted person who is not among the recipients: the recipients'
// display names from the header (decoded through the system's code pages), the persons of
// the addressee block, and a Yes/No box that names both.
#include "plugin/addressee_confirmation.h"

#include "common/ansi_encoding.h"
#include "common/owner_window.h"
#include "checks/addressee_match.h"
#include "mail/address_display_names.h"
#include "mail/charset.h"
#include "plugin/plugin_texts.h"

#include <windows.h>

#include <vector>

namespace quill {

namespace {

// Recipients named in the box before the rest are counted.
constexpr std::size_t NAMED_RECIPIENTS_MAX = 3;
// Characters of one name in the box; a longer one is cut with an ellipsis.
constexpr std::size_t NAME_IN_BOX_MAX = 40;

std::wstring shortened(const std::string &utf8) {
    std::wstring text = wideFromUtf8(utf8);
    if (text.size() > NAME_IN_BOX_MAX)
        text = text.substr(0, NAME_IN_BOX_MAX - 1) + L"…";
    return text;
}

// 「山田 太郎、佐藤 花子、鈴木 一郎 ほか 2 名」: each recipient by its display name, or its
// address when it has none.
std::wstring recipientList(const std::vector<MailRecipient> &recipients) {
    std::wstring list;
    for (std::size_t i = 0; i < recipients.size() && i < NAMED_RECIPIENTS_MAX; ++i) {
        if (i > 0)
            list += plugin_text::ADDRESSEE_LIST_SEPARATOR;
        const MailRecipient &recipient = recipients[i];
        list +=
            shortened(recipient.displayName.empty() ? recipient.address : recipient.displayName);
    }
    if (recipients.size() > NAMED_RECIPIENTS_MAX)
        list += plugin_text::ADDRESSEE_OTHERS_BEFORE +
                std::to_wstring(recipients.size() - NAMED_RECIPIENTS_MAX) +
                plugin_text::ADDRESSEE_OTHERS_AFTER;
    return list;
}

} // namespace

bool confirmSendToGreetedPersons(const LineList &headerLines, const std::string &bodyText,
                                 const std::string &quoteMarks) {
    const std::vector<GreetedPerson> greeted = greetedPersons(bodyText, quoteMarks);
    if (greeted.empty())
        return true;
    const std::vector<MailRecipient> recipients =
        toAndCcRecipients(headerLines, utf8OfCodePageQuietly);
    std::vector<std::string> displayNames;
    for (const MailRecipient &recipient : recipients)
        displayNames.push_back(recipient.displayName);
    const std::vector<GreetedPerson> unaddressed = unaddressedPersons(greeted, displayNames);
    if (unaddressed.empty())
        return true;

    std::wstring persons;
    for (const GreetedPerson &person : unaddressed)
        persons += L"「" + shortened(person.written) + L"」";
    const std::wstring text = plugin_text::ADDRESSEE_MISSING_BEFORE + persons +
                              plugin_text::ADDRESSEE_MISSING_MIDDLE + recipientList(recipients) +
                              plugin_text::ADDRESSEE_MISSING_AFTER;
    return MessageBoxW(hostOwnerWindow(), text.c_str(), plugin_text::INFO_CAPTION,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

} // namespace quill
