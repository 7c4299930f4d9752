#include "script_lexer.h"

#include <cctype>
#include <limits>

namespace vxhost {
namespace {

bool word_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool word_part(char c) { return word_start(c) || std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string at(size_t column) { return "column " + std::to_string(column) + ": "; }

// Reads the text that starts with the quote at `i`; leaves `i` after the closing quote.
std::string read_text(std::string_view line, size_t& i) {
    const size_t start = i + 1;
    std::string text;
    for (++i; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            ++i;
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == line.size()) break;
        switch (line[i]) {
            case '"':
                text += '"';
                break;
            case '\\':
                text += '\\';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            default:
                throw ScriptError(at(i) + "unknown escape \\" + std::string(1, line[i]) +
                                  " (known: \\\" \\\\ \\n \\t)");
        }
    }
    throw ScriptError(at(start) + "the text is not closed: a '\"' is missing");
}

int64_t read_integer(std::string_view line, size_t& i) {
    const size_t start = i;
    if (line[i] == '-') ++i;
    int64_t value = 0;
    bool too_large = false;
    for (; i < line.size() && digit(line[i]); ++i) {
        if (value > (std::numeric_limits<int64_t>::max() - 9) / 10) too_large = true;
        if (!too_large) value = value * 10 + (line[i] - '0');
    }
    if (too_large) throw ScriptError(at(start + 1) + "number too large");
    if (i < line.size() && word_part(line[i])) {
        throw ScriptError(at(start + 1) + "a number runs into letters: '" +
                          std::string(line.substr(start, i + 1 - start)) + "'");
    }
    return line[start] == '-' ? -value : value;
}

}  // namespace

std::vector<Token> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        const size_t column = i + 1;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            tokens.push_back({TokenKind::text, read_text(line, i), 0, column});
        } else if (c == '-' && i + 1 < line.size() && line[i + 1] == '>') {
            tokens.push_back({TokenKind::arrow, "->", 0, column});
            i += 2;
        } else if (digit(c) || (c == '-' && i + 1 < line.size() && digit(line[i + 1]))) {
            const int64_t number = read_integer(line, i);
            tokens.push_back(
                {TokenKind::integer, std::string(line.substr(column - 1, i - column + 1)), number, column});
        } else if (word_start(c)) {
            const size_t start = i;
            while (i < line.size() && word_part(line[i])) ++i;
            tokens.push_back({TokenKind::word, std::string(line.substr(start, i - start)), 0, column});
        } else if (c == '$') {
            const size_t start = ++i;
            while (i < line.size() && word_part(line[i])) ++i;
            if (i == start) throw ScriptError(at(column) + "'$' must be followed by a variable name");
            tokens.push_back({TokenKind::variable, std::string(line.substr(start, i - start)), 0, column});
        } else if (c == '{' || c == '}' || c == '=' || c == ',') {
            const TokenKind kind = c == '{'   ? TokenKind::open_brace
                                   : c == '}' ? TokenKind::close_brace
                                   : c == '=' ? TokenKind::equals
                                              : TokenKind::comma;
            tokens.push_back({kind, std::string(1, c), 0, column});
            ++i;
        } else {
            throw ScriptError(at(column) + "unexpected character '" + std::string(1, c) +
                              "' (texts are written in double quotes)");
        }
    }
    return tokens;
}

std::string describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::text:
            return "text \"" + token.text + "\"";
        case TokenKind::variable:
            return "$" + token.text;
        default:
            return "'" + token.text + "'";
    }
}

}  // namespace vxhost
