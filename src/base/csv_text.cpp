#include "base/csv_text.h"

namespace murmelix {

std::string CsvText::field(const std::string& text) {
    if (text.find_first_of(",;\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string CsvText::row(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        out += (i == 0 ? "" : ",") + field(fields[i]);
    }
    return out + "\r\n";
}

}  // namespace murmelix
