// vxhost's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vxhost {

struct Options {
    std::string library;  // empty: the default beside the executable
    std::string encoding = "ISO-8859-1";
    std::string server = "http://jobs.example";
    int32_t port = 8080;
    std::optional<std::string> script;  // a file, or "-" for standard input
    bool help = false;
};

// Throws std::invalid_argument with a message for an unknown option, a missing value or a bad port.
Options parse_options(int argc, char** argv);

// The options, the script syntax with an example, and every entry a script can call.
std::string help_text();

}  // namespace vxhost
