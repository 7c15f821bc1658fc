// A header value asked of the host, in a buffer of the host's limit.
#include "plugin/host_header.h"

#include "plugin/host_api.h"

#include <iterator>

namespace quill {

std::string specifiedHeader(const char *name) {
    char value[1024] = {};
    if (const BkaGetSpecifiedHeader get = hostApi().BKA_GetSpecifiedHeader)
        get(name, value, static_cast<int>(std::size(value)));
    value[std::size(value) - 1] = '\0';
    return value;
}

} // namespace quill
