#pragma once

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace murmelix::cli {

// Keys keep the order they are written in, as the output has always shown them.
using Json = nlohmann::ordered_json;

// Writes one JSON document to a stream piece by piece: the containers are opened and closed
// here, every value is a whole nlohmann value dumped on its own, so that a document of a
// million entries never stands in memory at once.
class JsonWriter {
  public:
    explicit JsonWriter(std::FILE* out) : out_(out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(const std::string& name);
    JsonWriter& value(const Json& value);

    // Strings from files are byte strings: valid UTF-8 is kept, any other byte is read as
    // Windows-1252 (what older files hold) and converted; nlohmann refuses anything else.
    static Json text(const std::string& bytes);
    static std::string quoted(const std::string& bytes) { return text(bytes).dump(); }

  private:
    void separate();
    void put(const std::string& piece);

    std::FILE* out_;
    bool needComma_ = false;
};

}  // namespace murmelix::cli
