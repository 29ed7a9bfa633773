#include "session/session_date_time.h"

#include <cstdint>

#include "base/text_format.h"
#include "session/scan_integer.h"

namespace murmelix {

SessionDateTime SessionDateTime::fromTime(std::time_t moment) {
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        return {};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::optional<SessionDateTime> SessionDateTime::parse(std::string_view stored) {
    int32_t values[6] = {};
    if (!scanIntegers(stored, values, 6)) {
        return std::nullopt;
    }
    return SessionDateTime{values[0], values[1], values[2], values[3], values[4], values[5]};
}

std::string SessionDateTime::storedForm() const {
    return formatText("%4.4d %2.2d %2.2d %2.2d %2.2d %2.2d", year, month, day, hour, minute,
                      second);
}

std::string SessionDateTime::displayForm() const {
    return formatText("%2.2d.%2.2d.%4.4d %2.2d:%2.2d:%2.2d", day, month, year, hour, minute,
                      second);
}

std::string SessionDateTime::fileNameForm() const {
    return formatText("%4.4d%2.2d%2.2d_%2.2d%2.2d%2.2d", year, month, day, hour, minute, second);
}

std::string SessionDateTime::displayFormOf(const std::string& stored) {
    const auto moment = parse(stored);
    return moment ? moment->displayForm() : stored;
}

std::string SessionDateTime::fileNameFormOf(const std::string& stored) {
    const auto moment = parse(stored);
    return moment ? moment->fileNameForm() : std::string();
}

}  // namespace murmelix
