// The entries a script can call, by name: what each takes from the script and what `-> $name` keeps.
// Out-parameters are never written in a script; vxhost provides them and prints what comes back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host_session.h"

namespace vxhost {

enum class ParamKind { text, integer, pairs, handle };

struct Param {
    ParamKind kind;
    const char* name;
};

// An argument resolved for the call; only the member of the parameter's kind is set.
struct Resolved {
    Text text;
    int32_t integer = 0;
    Pairs pairs;
    Handle handle = nullptr;
};

// What a variable holds.
struct Value {
    enum class Kind { none, null, integer, text, handle } kind = Kind::none;
    int64_t number = 0;
    std::string text;
    Handle handle = nullptr;

    static Value of(int64_t n) { return {Kind::integer, n, {}, nullptr}; }
    static Value of(const Text& t) { return t ? Value{Kind::text, 0, *t, nullptr} : Value{Kind::null, 0, {}, nullptr}; }
    static Value of_handle(Handle h) { return {Kind::handle, 0, {}, h}; }
};

struct Outcome {
    std::optional<int32_t> status;  // set for entries whose result is a status (0 success)
    Value kept;                     // what `-> $name` keeps
};

struct Command {
    int number;
    const char* name;
    std::vector<Param> params;
    const char* keeps;  // what `-> $name` keeps, or null when the entry gives nothing worth keeping
    Outcome (*invoke)(HostSession& session, const std::vector<Resolved>& args);
};

const std::vector<Command>& commands();
// By entry name or by entry number ("22"); null when there is none.
const Command* find_command(std::string_view name_or_number);
// "acj_initialize SERVER PORT" for messages and help.
std::string usage(const Command& command);

}  // namespace vxhost
