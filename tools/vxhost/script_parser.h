// Reads a vxhost script and checks it as a whole before anything runs: one entry call per line,
//
//   [try] ENTRY ARGUMENT... [-> $NAME]
//
// ENTRY is an entry's name (or its number); arguments are "texts", integers, null, $variables and
// {"name"="value", ...} pair arrays; `-> $NAME` keeps what the call gives for later lines.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "script_commands.h"
#include "script_lexer.h"

namespace vxhost {

struct Scalar {
    enum class Kind { null, integer, text, variable } kind = Kind::null;
    int64_t number = 0;
    std::string text;  // the text, or the variable's name
};

struct Argument {
    bool is_pairs = false;
    Scalar scalar;                                 // when not a pair array
    std::vector<std::pair<Scalar, Scalar>> pairs;  // when a pair array
};

struct Statement {
    int line = 0;
    bool keep_going = false;  // `try`: a failed status does not end the script
    const Command* command = nullptr;
    std::vector<Argument> arguments;
    std::string keep;  // variable name after `->`, or empty
};

// Throws ScriptError with a message "SOURCE:LINE: ..." for the first line that cannot be run: an unknown
// entry, a wrong number or kind of arguments, bad quoting, a variable no earlier line keeps, a call after
// the instance is destroyed.
std::vector<Statement> parse_script(std::istream& in, const std::string& source);

}  // namespace vxhost
