// A minimal PNG writer for screenshots: 8-bit RGB, unfiltered, stored (uncompressed) deflate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quill::test {

// The PNG file bytes of an image given as rows of RGB triples, top row first.
std::string encodePng(int width, int height, const std::vector<std::uint8_t> &rgb);

} // namespace quill::test
