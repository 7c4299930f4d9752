#include "connection.h"

namespace jwsim {

Table RealtimeConnection::input_table() const {
    Table table;
    for (const auto& [index, field] : input_fields) table.fields.push_back(field);
    for (const std::map<int32_t, std::string>& values : input_rows) {
        std::vector<std::string>& row = table.rows.emplace_back();
        for (const auto& [index, field] : input_fields) {
            auto value = values.find(index);
            row.push_back(value != values.end() ? value->second : std::string());
        }
    }
    return table;
}

}  // namespace jwsim
