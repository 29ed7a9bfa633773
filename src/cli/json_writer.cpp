#include "cli/json_writer.h"

#include <cstdio>

#include "base/utf8_text.h"

namespace murmelix::cli {

std::string JsonWriter::quoted(const std::string& bytes) {
    const std::string text = Utf8Text::fromBytes(bytes);
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<uint8_t>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                    out += escaped;
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
    return out;
}

void JsonWriter::separate() {
    if (needComma_) {
        out_.push_back(',');
    }
    needComma_ = true;
}

void JsonWriter::flushTo(std::FILE* out) {
    std::fwrite(out_.data(), 1, out_.size(), out);
    out_.clear();
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out_.push_back('{');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_.push_back('}');
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out_.push_back('[');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_.push_back(']');
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::key(const std::string& name) {
    separate();
    out_ += quoted(name);
    out_.push_back(':');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::value(const std::string& text) {
    separate();
    out_ += quoted(text);
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
    return *this;
}

}  // namespace murmelix::cli
