// The recipients of any address list and the persons of any addressee block: every person
// has a name and its written form, and comparing them with any display names ends.
#include "checks/addressee_block.h"
#include "checks/addressee_match.h"
#include "mail/address_display_names.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    // The first line is the address list, the rest the body; the system's converter is
    // played by one that hands the bytes back, so ill-formed UTF-8 reaches the checks too.
    const std::size_t split = input.find('\n');
    const std::string header = input.substr(0, split);
    const std::string body = split == std::string::npos ? std::string() : input.substr(split + 1);
    const quill::CodePageToUtf8 asWritten = [](const std::string &bytes,
                                               int codePage) -> std::optional<std::string> {
        if (codePage == 20127)
            return std::nullopt;
        return bytes;
    };
    std::vector<std::string> names;
    for (const quill::MailRecipient &recipient : quill::recipientsOfAddressList(header, asWritten))
        names.push_back(recipient.displayName);
    const std::vector<quill::GreetedPerson> persons = quill::greetedPersons(body, ">＞");
    for (const quill::GreetedPerson &person : persons)
        if (person.name.empty() || person.written.empty())
            std::abort();
    if (quill::unaddressedPersons(persons, names).size() > persons.size())
        std::abort();
    return 0;
}
