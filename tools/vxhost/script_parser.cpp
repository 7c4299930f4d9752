#include "script_parser.h"

#include <limits>
#include <map>

namespace vxhost {
namespace {

const char* kind_name(ParamKind kind) {
    switch (kind) {
        case ParamKind::text:
            return "a text";
        case ParamKind::integer:
            return "a number";
        case ParamKind::pairs:
            return "a pair array";
        case ParamKind::handle:
            return "a response handle ($variable or null)";
    }
    return "?";
}

class LineParser {
  public:
    LineParser(std::vector<Token> tokens, const std::map<std::string, int>& kept)
        : tokens_(std::move(tokens)), kept_(kept) {}

    Statement parse() {
        Statement statement;
        if (peek_word("try")) {
            statement.keep_going = true;
            ++next_;
        }
        const Token& name = take("an entry name");
        if (name.kind != TokenKind::word && name.kind != TokenKind::integer) {
            throw ScriptError("expected an entry name, found " + describe(name));
        }
        statement.command = find_command(name.text);
        if (statement.command == nullptr) {
            throw ScriptError("unknown entry '" + name.text + "' (vxhost --help lists them)");
        }
        while (next_ < tokens_.size() && tokens_[next_].kind != TokenKind::arrow) {
            statement.arguments.push_back(argument());
        }
        check_arguments(statement);
        if (next_ < tokens_.size()) statement.keep = keep(*statement.command);
        return statement;
    }

  private:
    bool peek_word(const char* word) const {
        return next_ < tokens_.size() && tokens_[next_].kind == TokenKind::word && tokens_[next_].text == word;
    }

    const Token& take(const char* wanted) {
        if (next_ == tokens_.size()) throw ScriptError(std::string("the line ends where ") + wanted + " should be");
        return tokens_[next_++];
    }

    Scalar scalar(const Token& token) {
        switch (token.kind) {
            case TokenKind::text:
                return {Scalar::Kind::text, 0, token.text};
            case TokenKind::integer:
                return {Scalar::Kind::integer, token.number, token.text};
            case TokenKind::variable:
                if (kept_.count(token.text) == 0) {
                    throw ScriptError("$" + token.text + " is not kept by an earlier line (use -> $" + token.text +
                                      ")");
                }
                return {Scalar::Kind::variable, 0, token.text};
            case TokenKind::word:
                if (token.text == "null") return {Scalar::Kind::null, 0, {}};
                throw ScriptError("unexpected word '" + token.text + "' (texts are written in double quotes)");
            default:
                throw ScriptError("unexpected " + describe(token));
        }
    }

    Argument argument() {
        const Token& token = take("an argument");
        if (token.kind != TokenKind::open_brace) return {false, scalar(token), {}};
        Argument pairs{true, {}, {}};
        if (next_ < tokens_.size() && tokens_[next_].kind == TokenKind::close_brace) {
            ++next_;
            return pairs;
        }
        for (;;) {
            Scalar name = pair_part(take("a pair's name"));
            expect(TokenKind::equals, "'=' between a pair's name and value");
            Scalar value = pair_part(take("a pair's value"));
            pairs.pairs.emplace_back(std::move(name), std::move(value));
            const Token& separator = take("',' or '}'");
            if (separator.kind == TokenKind::close_brace) return pairs;
            if (separator.kind != TokenKind::comma) {
                throw ScriptError("expected ',' or '}' in a pair array, found " + describe(separator));
            }
        }
    }

    Scalar pair_part(const Token& token) {
        Scalar part = scalar(token);
        if (part.kind == Scalar::Kind::integer)
            throw ScriptError("pair names and values are texts: write \"" + token.text + "\"");
        return part;
    }

    void expect(TokenKind kind, const char* what) {
        const Token& token = take(what);
        if (token.kind != kind) throw ScriptError(std::string("expected ") + what + ", found " + describe(token));
    }

    void check_arguments(const Statement& statement) const {
        const Command& command = *statement.command;
        if (statement.arguments.size() != command.params.size()) {
            throw ScriptError(std::string(command.name) + " takes " + std::to_string(command.params.size()) +
                              (command.params.size() == 1 ? " argument" : " arguments") + ", found " +
                              std::to_string(statement.arguments.size()) + ": " + usage(command));
        }
        for (size_t i = 0; i < command.params.size(); ++i) {
            const Param& param = command.params[i];
            const Argument& arg = statement.arguments[i];
            const bool integer_literal = !arg.is_pairs && arg.scalar.kind == Scalar::Kind::integer;
            if (param.kind == ParamKind::integer && integer_literal &&
                (arg.scalar.number < INT32_MIN || arg.scalar.number > INT32_MAX)) {
                throw ScriptError("argument " + std::to_string(i + 1) + " of " + command.name + " (" + param.name +
                                  ") does not fit in 32 bits");
            }
            if (!fits(param.kind, arg)) {
                throw ScriptError("argument " + std::to_string(i + 1) + " of " + command.name + " (" + param.name +
                                  ") must be " + kind_name(param.kind) + ": " + usage(command));
            }
        }
    }

    static bool fits(ParamKind kind, const Argument& arg) {
        const Scalar::Kind k = arg.scalar.kind;
        switch (kind) {
            case ParamKind::pairs:
                return arg.is_pairs || k == Scalar::Kind::null;
            case ParamKind::text:
                return !arg.is_pairs;  // a number stands for its decimal text
            case ParamKind::integer:
                return !arg.is_pairs &&
                       (k == Scalar::Kind::variable || (k == Scalar::Kind::integer && arg.scalar.number >= INT32_MIN &&
                                                        arg.scalar.number <= INT32_MAX));
            case ParamKind::handle:
                return !arg.is_pairs && (k == Scalar::Kind::variable || k == Scalar::Kind::null);
        }
        return false;
    }

    std::string keep(const Command& command) {
        ++next_;  // the arrow
        const Token& target = take("a $variable after '->'");
        if (target.kind != TokenKind::variable) {
            throw ScriptError("expected a $variable after '->', found " + describe(target));
        }
        if (next_ < tokens_.size())
            throw ScriptError("unexpected " + describe(tokens_[next_]) + " after -> $" + target.text);
        if (command.keeps == nullptr) throw ScriptError(std::string(command.name) + " gives nothing to keep");
        return target.text;
    }

    std::vector<Token> tokens_;
    const std::map<std::string, int>& kept_;
    size_t next_ = 0;
};

}  // namespace

std::vector<Statement> parse_script(std::istream& in, const std::string& source) {
    std::vector<Statement> script;
    std::map<std::string, int> kept;  // variable -> line that keeps it
    int destroyed_on = 0;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        try {
            std::vector<Token> tokens = tokenize(line);
            if (tokens.empty()) continue;
            if (destroyed_on != 0) {
                throw ScriptError("the instance was destroyed on line " + std::to_string(destroyed_on) +
                                  "; no entry can be called after that");
            }
            Statement statement = LineParser(std::move(tokens), kept).parse();
            statement.line = number;
            if (!statement.keep.empty()) kept[statement.keep] = number;
            if (statement.command->number == 6) destroyed_on = number;
            script.push_back(std::move(statement));
        } catch (const ScriptError& error) {
            throw ScriptError(source + ":" + std::to_string(number) + ": " + error.what());
        }
    }
    return script;
}

}  // namespace vxhost
