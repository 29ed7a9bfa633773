#pragma once

#include <cstdarg>
#include <string>

namespace murmelix {

// printf-style formatting into a std::string; the program's messages are printf templates.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatTextV(const char* format, va_list args);
// The text without the spaces, tabs and line breaks around it.
std::string trimmedText(const std::string& text);

}  // namespace murmelix
