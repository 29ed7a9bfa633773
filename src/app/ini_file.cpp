#include "app/ini_file.h"

#include <algorithm>
#include <cerrno>

#include "app/ini_value.h"
#include "base/atomic_file.h"

namespace murmelix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool hasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

IniFile::IniFile(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        // "\r\n" ends a line as well; stray carriage returns before it mean nothing either.
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines_.push_back(classify(std::string(line), lines_.empty()));
        if (lines_.back().kind == LineKind::Section) {
            headers_.push_back(lines_.size() - 1);
        }
        start = end + 1;
    }
}

IniFile::Line IniFile::classify(std::string text, bool first) {
    Line line;
    line.text = std::move(text);
    std::string_view content = line.text;
    // Editors on this platform may put a byte order mark in front of the first section.
    if (first && content.starts_with(kByteOrderMark)) {
        content.remove_prefix(kByteOrderMark.size());
    }
    const std::string_view trimmed = IniValue::trim(content);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return line;
    }
    if (trimmed.front() == '[') {
        const size_t close = trimmed.find(']');
        line.kind = LineKind::Section;
        line.name = std::string(
            IniValue::trim(trimmed.substr(1, close == trimmed.npos ? trimmed.npos : close - 1)));
        return line;
    }
    const size_t equals = line.text.find('=');
    if (equals == std::string::npos) {
        return line;
    }
    const size_t contentStart = line.text.size() - content.size();
    const std::string_view name =
        IniValue::trim(std::string_view(line.text).substr(contentStart, equals - contentStart));
    if (name.empty()) {
        return line;
    }
    line.kind = LineKind::Key;
    line.name = std::string(name);
    line.valueStart = equals + 1;
    return line;
}

IniFile::ReadResult IniFile::readFile(const std::string& path, int* error) {
    std::string bytes;
    errno = 0;
    if (!readWholeFile(path, bytes)) {
        const int cause = errno;
        *this = IniFile();
        if (cause == ENOENT) {
            return ReadResult::Missing;
        }
        if (error != nullptr) {
            *error = cause;
        }
        return ReadResult::Failed;
    }
    *this = IniFile(bytes);
    return ReadResult::Read;
}

std::string IniFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += '\n';
    }
    return out;
}

bool IniFile::saveFile(const std::string& path, int* error) const {
    AtomicFile file(path);
    errno = 0;
    bool ok = file.open();
    ok = ok && file.write(text());
    ok = ok && file.commit();
    if (!ok && error != nullptr) {
        *error = errno;
    }
    return ok;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const size_t header = findSection(section);
    if (header == kNone) {
        return std::nullopt;
    }
    const size_t index = findKey(header, key);
    if (index == kNone) {
        return std::nullopt;
    }
    const Line& line = lines_[index];
    return std::string(IniValue::trim(std::string_view(line.text).substr(line.valueStart)));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    const auto text = value(section, key);
    return IniValue::limitString(text ? std::string_view(*text) : fallback);
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                             int32_t fallback) const {
    const auto text = value(section, key);
    if (!text) {
        return fallback;
    }
    return IniValue::parseInteger(IniValue::limitString(*text)).value_or(fallback);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

double IniFile::readFloat(std::string_view section, std::string_view key, double fallback) const {
    const auto text = value(section, key);
    if (!text) {
        return fallback;
    }
    return IniValue::parseFloat(IniValue::limitString(*text)).value_or(fallback);
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!validSectionName(section) || !validKeyName(key) || !validValue(value)) {
        return false;
    }
    size_t header = findSection(section);
    if (header == kNone) {
        appendSection(section);
        header = lines_.size() - 1;
    }
    const size_t existing = findKey(header, key);
    if (existing != kNone) {
        Line& line = lines_[existing];
        line.text = line.name + "=" + std::string(value);
        line.valueStart = line.name.size() + 1;
        return true;
    }
    Line line;
    line.kind = LineKind::Key;
    line.name = std::string(key);
    line.text = line.name + "=" + std::string(value);
    line.valueStart = line.name.size() + 1;
    const size_t point = insertionPoint(header);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(point), std::move(line));
    for (size_t& later : headers_) {
        if (later >= point) {
            ++later;
        }
    }
    return true;
}

bool IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    return writeString(section, key, value ? "1" : "0");
}

bool IniFile::writeFloat(std::string_view section, std::string_view key, double value) {
    return writeString(section, key, IniValue::formatFloat(value));
}

bool IniFile::validSectionName(std::string_view name) {
    return !name.empty() && IniValue::trim(name) == name && !hasLineBreakOrZero(name) &&
           name.find(']') == std::string_view::npos;
}

bool IniFile::validKeyName(std::string_view name) {
    return !name.empty() && IniValue::trim(name) == name && !hasLineBreakOrZero(name) &&
           name.find('=') == std::string_view::npos && name.front() != '[' && name.front() != ';' &&
           name.front() != '#';
}

bool IniFile::validValue(std::string_view value) {
    return !hasLineBreakOrZero(value);
}

size_t IniFile::findSection(std::string_view section) const {
    for (const size_t header : headers_) {
        if (IniValue::sameName(lines_[header].name, section)) {
            return header;
        }
    }
    return kNone;
}

size_t IniFile::sectionEnd(size_t header) const {
    const auto next = std::upper_bound(headers_.begin(), headers_.end(), header);
    return next == headers_.end() ? lines_.size() : *next;
}

size_t IniFile::findKey(size_t header, std::string_view key) const {
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == LineKind::Key && IniValue::sameName(lines_[i].name, key)) {
            return i;
        }
    }
    return kNone;
}

// Behind the section's last key, so blank lines and comments that introduce the next
// section stay in front of it.
size_t IniFile::insertionPoint(size_t header) const {
    size_t point = header + 1;
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == LineKind::Key) {
            point = i + 1;
        }
    }
    return point;
}

void IniFile::appendSection(std::string_view section) {
    if (!lines_.empty() && !IniValue::trim(lines_.back().text).empty()) {
        lines_.push_back(Line{});
    }
    Line line;
    line.kind = LineKind::Section;
    line.name = std::string(section);
    line.text = "[" + line.name + "]";
    lines_.push_back(std::move(line));
    headers_.push_back(lines_.size() - 1);
}

}  // namespace murmelix
