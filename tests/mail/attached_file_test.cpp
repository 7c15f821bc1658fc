// Whether a mail carries a file.
#include "mail/attached_file.h"
#include "mail/mime_part.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(Attachment, APartWithAFileNameOrAnAttachmentDispositionCarriesAFile) {
    const auto carries = [](const std::string &partHeader) {
        const std::string source = "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
                                   "--b\r\nContent-Type: text/plain\r\n\r\ntext\r\n--b\r\n" +
                                   partHeader + "\r\n\r\ndata\r\n--b--\r\n";
        MimePart top;
        const char *cursor = source.c_str();
        parseMimePart(top, cursor, nullptr);
        return hasAttachedFile(top);
    };
    EXPECT_TRUE(carries("Content-Type: application/pdf; name=\"a.pdf\""));
    EXPECT_TRUE(carries("Content-Type: image/png\r\nContent-Disposition: ATTACHMENT"));
    EXPECT_TRUE(carries("Content-Type: image/png\r\nContent-Disposition: inline; "
                        "filename*=UTF-8''%E8%B3%87.png"));
    EXPECT_TRUE(carries("Content-Type: message/rfc822")) << "a forwarded mail";
    EXPECT_TRUE(carries("Content-Type:\r\n Message/RFC822"));
    EXPECT_FALSE(carries("Content-Type: text/html; charset=UTF-8"));
    EXPECT_FALSE(carries("Content-Type: text/plain; filename-like=\"x\""));
}
} // namespace
} // namespace quill
