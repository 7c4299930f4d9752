// The built-in services: upper, split_name and the workflow service greeting.
#include <array>
#include <string>

#include "service.h"
#include "unicode_text.h"

namespace jwsim {
namespace {

// The value of the first field called `name` in `row` of `table`, or "".
std::string value_of(const Table& table, size_t row, std::string_view name) {
    for (size_t field = 0; field < table.fields.size(); ++field) {
        if (table.fields[field].name == name) return table.rows[row][field];
    }
    return {};
}

// Applies `compute` to every row: it maps one input row to the values of `outputs`.
template <class Compute>
Table map_rows(const Table& input, const std::vector<FieldInfo>& outputs, Compute compute) {
    Table output{outputs, {}};
    for (size_t row = 0; row < input.rows.size(); ++row) output.rows.push_back(compute(row));
    return output;
}

Table run_upper(const Table& input) {
    Table output{input.fields, {}};
    for (const std::vector<std::string>& row : input.rows) {
        std::vector<std::string>& upper = output.rows.emplace_back();
        for (const std::string& value : row) upper.push_back(upper_case(value));
    }
    return output;
}

std::string_view trim_blanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

Table run_split_name(const Table& input) {
    return map_rows(input, find_service("split_name")->outputs, [&](size_t row) {
        const std::string value = value_of(input, row, "full_name");
        std::string_view full = trim_blanks(value);
        size_t blank = full.rfind(' ');
        if (blank == std::string_view::npos) return std::vector<std::string>{std::string(full), ""};
        return std::vector<std::string>{std::string(trim_blanks(full.substr(0, blank))),
                                        std::string(full.substr(blank + 1))};
    });
}

std::string greet(const std::string& name, const std::string& language) {
    if (language == "de") return "Hallo, " + name + "!";
    if (language == "fr") return "Bonjour, " + name + " !";
    if (language == "ja") return "こんにちは、" + name + "さん";
    return "Hello, " + name + "!";
}

Table run_greeting(const Table& input) {
    return map_rows(input, find_service("greeting")->outputs, [&](size_t row) {
        std::string greeting = greet(value_of(input, row, "name"), value_of(input, row, "language"));
        std::string length = std::to_string(character_count(greeting));
        return std::vector<std::string>{std::move(greeting), std::move(length)};
    });
}

FieldInfo text(const char* name, int32_t length) { return FieldInfo{name, kTextField, length}; }

}  // namespace

const Service* find_service(std::string_view name) {
    static const std::array<Service, 3> services = {
        Service{"upper", {text("text", kDefaultTextLength)}, {text("TEXT", kDefaultTextLength)}, false, run_upper},
        Service{"split_name",
                {text("full_name", 100)},
                {text("first_name", 100), text("last_name", 100)},
                false,
                run_split_name},
        Service{"greeting",
                {text("name", 100), text("language", 8)},
                {text("greeting", 200), text("length", 10)},
                true,
                run_greeting},
    };
    for (const Service& service : services) {
        if (service.name == name) return &service;
    }
    return nullptr;
}

}  // namespace jwsim
