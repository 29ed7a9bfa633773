#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace murmelix {

// The moment a sequence was recorded. Sessions keep it as text in the stored form
// ("2024 03 05 14 07 09"); the panel shows the display form ("05.03.2024 14:07:09") and
// file name proposals use the file name form ("20240305_140709").
class SessionDateTime {
  public:
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    // Local time of the given moment.
    static SessionDateTime fromTime(std::time_t moment);
    static SessionDateTime now() { return fromTime(std::time(nullptr)); }

    // Reads the six numbers of a stored text as "%d %d %d %d %d %d" would; text after the
    // sixth number is ignored. Nothing when fewer than six numbers can be read.
    static std::optional<SessionDateTime> parse(std::string_view stored);

    std::string storedForm() const;
    std::string displayForm() const;
    std::string fileNameForm() const;

    // Forms derived from a stored text. A text without six numbers (a hand-edited file)
    // is shown as it stands and gives no file name.
    static std::string displayFormOf(const std::string& stored);
    static std::string fileNameFormOf(const std::string& stored);

    bool operator==(const SessionDateTime&) const = default;
};

}  // namespace murmelix
