// Whole files for the benchmarks that set up a plug-in folder: the demo's INI and mail in,
// the INI the plug-in reads out.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace bench {

inline std::string readFile(const char *path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace bench
