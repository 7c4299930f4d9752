#include "transcript.h"

namespace vxhost {
namespace {

constexpr std::string_view kDetailIndent = "       ";

}  // namespace

std::string quote(const Text& text) {
    if (!text) return "null";
    std::string out = "\"";
    for (const char c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string state_name(int32_t state) {
    static constexpr const char* kNames[] = {"queued", "running", "completed", "failed", "terminated"};
    std::string out = std::to_string(state);
    if (state >= 0 && state < static_cast<int32_t>(std::size(kNames))) out += std::string(" ") + kNames[state];
    return out;
}

void Transcript::heading(std::string_view title) {
    std::fprintf(out_, "\n== %.*s\n", static_cast<int>(title.size()), title.data());
}

void Transcript::line(std::string_view text) {
    std::fprintf(out_, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void Transcript::call(int number, std::string_view name, const std::vector<std::string>& arguments,
                      std::string_view result) {
    std::string text = label_ + "[" + std::to_string(number) + "] " + std::string(name) + "(";
    for (size_t i = 0; i < arguments.size(); ++i) text += (i == 0 ? "" : ", ") + arguments[i];
    text += ") -> ";
    text += result;
    line(text);
}

void Transcript::detail(std::string_view text) { line(std::string(kDetailIndent) + std::string(text)); }

void Transcript::table(const TextTable& table) {
    for (const std::string& row : table.lines(kDetailIndent)) line(row);
}

}  // namespace vxhost
