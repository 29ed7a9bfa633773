#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace murmelix::cli {

// Builds one JSON value as text, whole or streamed in pieces. Strings from files are byte
// strings: valid UTF-8 is kept, any other byte is read as Windows-1252 (what older files
// hold) and converted.
class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(const std::string& name);
    JsonWriter& value(const std::string& text);
    JsonWriter& value(const char* text) { return value(std::string(text)); }
    JsonWriter& value(int64_t number);
    JsonWriter& value(bool flag);

    const std::string& text() const { return out_; }
    // Writes the text built so far to out and forgets it, so that a long document can be
    // streamed piece by piece; the next call goes on where the text left off.
    void flushTo(std::FILE* out);

    static std::string quoted(const std::string& bytes);

  private:
    void separate();

    std::string out_;
    bool needComma_ = false;
};

}  // namespace murmelix::cli
