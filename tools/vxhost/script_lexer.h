// Splits a line of a vxhost script into tokens.
//
//   word      acj_initialize, null, try          integer   8080, -1
//   text      "Straße" with \" \\ \n \t escapes   variable  $job
//   { } = , ->                                    # starts a comment outside a text
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vxhost {

// A line of a script that cannot be read or run as written.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TokenKind { word, integer, text, variable, open_brace, close_brace, equals, comma, arrow };

struct Token {
    TokenKind kind;
    std::string text;  // word, text (unescaped) or variable name (without '$')
    int64_t number = 0;
    size_t column = 0;  // 1-based, for messages
};

// Throws ScriptError for a text that is not closed, an unknown escape or a character that starts no token.
std::vector<Token> tokenize(std::string_view line);

// How a token is named in messages, e.g. `"{"` or `text "abc"`.
std::string describe(const Token& token);

}  // namespace vxhost
