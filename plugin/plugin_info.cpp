// The plug-in information texts and their placement in the host's record.
#include "plugin/plugin_info.h"

#include <algorithm>
#include <cstring>

namespace quill {
namespace {

void writeField(char *field, const char *text) {
    const std::size_t length = std::min(std::strlen(text), PLUGIN_INFO_FIELD_SIZE - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

} // namespace

void writePlugInInfo(char *record) {
    if (record == nullptr)
        return;
    writeField(record + PLUGIN_INFO_NAME_OFFSET, "Becky! Quill Check plug-in");
    writeField(record + PLUGIN_INFO_VENDOR_OFFSET, "Penwright");
    writeField(record + PLUGIN_INFO_VERSION_OFFSET, "1.0");
    writeField(record + PLUGIN_INFO_DESCRIPTION_OFFSET,
               "Enabled proofreading E-Mail using textlint.");
}

} // namespace quill
