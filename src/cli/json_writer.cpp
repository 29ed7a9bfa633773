#include "cli/json_writer.h"

#include "base/utf8_text.h"

namespace murmelix::cli {

Json JsonWriter::text(const std::string& bytes) {
    return Json(Utf8Text::fromBytes(bytes));
}

void JsonWriter::put(const std::string& piece) {
    std::fwrite(piece.data(), 1, piece.size(), out_);
}

void JsonWriter::separate() {
    if (needComma_) {
        std::fputc(',', out_);
    }
    needComma_ = true;
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    std::fputc('{', out_);
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    std::fputc('}', out_);
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    std::fputc('[', out_);
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    std::fputc(']', out_);
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::key(const std::string& name) {
    separate();
    put(quoted(name));
    std::fputc(':', out_);
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::value(const Json& value) {
    separate();
    put(value.dump());
    return *this;
}

}  // namespace murmelix::cli
