// The plug-in information the host asks for: name, vendor, version and description.
#pragma once

#include <cstddef>

namespace quill {

// Byte offsets of the four texts in the host's record, and the room each one has.
constexpr std::size_t PLUGIN_INFO_NAME_OFFSET = 0;
constexpr std::size_t PLUGIN_INFO_VENDOR_OFFSET = 80;
constexpr std::size_t PLUGIN_INFO_VERSION_OFFSET = 160;
constexpr std::size_t PLUGIN_INFO_DESCRIPTION_OFFSET = 240;
constexpr std::size_t PLUGIN_INFO_FIELD_SIZE = 80;

// Writes the four NUL-terminated texts into `record`, each cut to its 80-byte field. Bytes
// after each text's NUL stay as they were: the rest of the record belongs to the host.
void writePlugInInfo(char *record);

} // namespace quill
