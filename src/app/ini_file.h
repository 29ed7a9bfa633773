#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murmelix {

// A settings file in the classic INI form: "[section]" lines and "key=value" lines. Names
// are compared without regard to case, the first of equal sections or keys counts, and
// everything else in the file (comments, keys and sections this program does not know,
// their order) is kept as it was, so saving changes only the values written. Reading never
// fails: lines that mean nothing are carried along untouched. Lines end "\n" when written;
// "\r\n" is read as well.
class IniFile {
  public:
    enum class ReadResult { Read, Missing, Failed };

    IniFile() = default;
    explicit IniFile(std::string_view bytes);

    // Replaces the contents with the file's. A missing file leaves an empty one (Missing);
    // Failed sets *error to the errno of the failure when error is given.
    ReadResult readFile(const std::string& path, int* error = nullptr);
    // The whole file as it would be saved.
    std::string text() const;
    // Writes through a temporary file in the same folder, so the old file stays whole when
    // anything fails. False with *error set (0 when no cause is known) on failure.
    bool saveFile(const std::string& path, int* error = nullptr) const;

    // The trimmed value as it stands in the file, or nothing when the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Missing or unreadable values give the fallback.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    int32_t readInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    double readFloat(std::string_view section, std::string_view key, double fallback) const;

    // Replaces the key's value where it stands, or adds the key at the end of its section
    // (the section at the end of the file). False, with nothing changed, for a name that
    // could not be read back as itself or a value holding a line break or a zero byte.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInteger(std::string_view section, std::string_view key, int32_t value);
    bool writeBool(std::string_view section, std::string_view key, bool value);
    bool writeFloat(std::string_view section, std::string_view key, double value);

  private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string text;
        LineKind kind = LineKind::Other;
        std::string name;
        size_t valueStart = 0;  // keys only: the first byte after '='
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);

    static Line classify(std::string text, bool first);
    static bool validSectionName(std::string_view name);
    static bool validKeyName(std::string_view name);
    static bool validValue(std::string_view value);

    size_t findSection(std::string_view section) const;
    size_t sectionEnd(size_t header) const;
    size_t findKey(size_t header, std::string_view key) const;
    size_t insertionPoint(size_t header) const;
    void appendSection(std::string_view section);

    std::vector<Line> lines_;
    // Where the section headers stand in lines_, in file order: every lookup visits the
    // headers rather than every line before its section.
    std::vector<size_t> headers_;
};

}  // namespace murmelix
