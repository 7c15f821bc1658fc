// A header of the mail the host is working on, read through the host's API.
#pragma once

#include <string>

namespace quill {

// The value of the header `name` as the host gives it, cut by the host to 1024 bytes; empty
// when the host has no function for it bound.
std::string specifiedHeader(const char *name);

} // namespace quill
