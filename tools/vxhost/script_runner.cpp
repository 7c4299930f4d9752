#include "script_runner.h"

#include <charconv>
#include <map>

#include "session_failure.h"

namespace vxhost {
namespace {

class Runner {
  public:
    Runner(const std::string& source, HostSession& session) : source_(source), session_(session) {}

    void run(const std::vector<Statement>& script) {
        Transcript& out = session_.transcript();
        out.heading("Instance");
        if (!session_.open()) throw SessionFailure("make an instance", "the entry export returned null");
        out.heading("Script " + source_);
        for (const Statement& statement : script) run(statement);
        if (session_.alive()) {
            out.heading("End of script");
            out.set_label("end: ");
            session_.destroy();
        }
        if (!session_.pool_clean()) throw SessionFailure("[6] destroy", "the instance's pool reported errors");
    }

  private:
    void run(const Statement& statement) {
        const std::string where = source_ + ":" + std::to_string(statement.line);
        session_.transcript().set_label(std::to_string(statement.line) + ": ");
        std::vector<Resolved> args;
        try {
            for (size_t i = 0; i < statement.arguments.size(); ++i) {
                args.push_back(resolve(statement.command->params[i], statement.arguments[i]));
            }
        } catch (const ScriptError& error) {
            throw ScriptError(where + ": " + error.what());
        }
        const Outcome outcome = statement.command->invoke(session_, args);
        if (!statement.keep.empty()) variables_[statement.keep] = outcome.kept;
        if (outcome.status && *outcome.status != 0 && !statement.keep_going) {
            throw SessionFailure(
                where + ": [" + std::to_string(statement.command->number) + "] " + statement.command->name,
                "returned " + std::to_string(*outcome.status) +
                    " (start the line with `try` to go on after a failure)");
        }
    }

    const Value& variable(const std::string& name) const {
        auto found = variables_.find(name);
        if (found == variables_.end()) throw ScriptError("$" + name + " holds nothing");
        return found->second;
    }

    Text text_of(const Scalar& scalar) const {
        switch (scalar.kind) {
            case Scalar::Kind::null:
                return std::nullopt;
            case Scalar::Kind::integer:
                return std::to_string(scalar.number);
            case Scalar::Kind::text:
                return scalar.text;
            case Scalar::Kind::variable:
                break;
        }
        const Value& value = variable(scalar.text);
        switch (value.kind) {
            case Value::Kind::null:
                return std::nullopt;
            case Value::Kind::integer:
                return std::to_string(value.number);
            case Value::Kind::text:
                return value.text;
            default:
                throw ScriptError("$" + scalar.text + " holds a response handle or nothing, not a text");
        }
    }

    int32_t integer_of(const Scalar& scalar, const char* param) const {
        int64_t number = scalar.number;
        if (scalar.kind == Scalar::Kind::variable) {
            const Value& value = variable(scalar.text);
            const char* end = value.text.data() + value.text.size();
            if (value.kind == Value::Kind::integer) {
                number = value.number;
            } else if (value.kind != Value::Kind::text || std::from_chars(value.text.data(), end, number).ptr != end ||
                       value.text.empty()) {
                throw ScriptError("$" + scalar.text + " does not hold a number for " + param);
            }
        }
        if (number < INT32_MIN || number > INT32_MAX) {
            throw ScriptError(std::string(param) + " does not fit in 32 bits");
        }
        return static_cast<int32_t>(number);
    }

    Handle handle_of(const Scalar& scalar) const {
        if (scalar.kind == Scalar::Kind::null) return nullptr;
        const Value& value = variable(scalar.text);
        if (value.kind == Value::Kind::handle) return value.handle;
        // A handle kept from a failed call is null: pass it on as the host would.
        if (value.kind == Value::Kind::null) return nullptr;
        throw ScriptError("$" + scalar.text + " does not hold a response handle");
    }

    Resolved resolve(const Param& param, const Argument& arg) const {
        Resolved resolved;
        switch (param.kind) {
            case ParamKind::text:
                resolved.text = text_of(arg.scalar);
                break;
            case ParamKind::integer:
                resolved.integer = integer_of(arg.scalar, param.name);
                break;
            case ParamKind::handle:
                resolved.handle = handle_of(arg.scalar);
                break;
            case ParamKind::pairs:
                if (!arg.is_pairs) break;  // null: no array
                resolved.pairs.emplace();
                for (const auto& [name, value] : arg.pairs) resolved.pairs->emplace_back(text_of(name), text_of(value));
                break;
        }
        return resolved;
    }

    const std::string& source_;
    HostSession& session_;
    std::map<std::string, Value> variables_;
};

}  // namespace

void run_script(const std::vector<Statement>& script, const std::string& source, HostSession& session) {
    Runner(source, session).run(script);
}

}  // namespace vxhost
