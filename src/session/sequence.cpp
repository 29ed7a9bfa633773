#include "session/sequence.h"

namespace murmelix {

std::string SEQUENCE::madeWithText() const {
    std::string out;
    for (const std::string& argument : madeWith) {
        const bool quoted =
            argument.empty() || argument.find_first_of(" \t'\"") != std::string::npos;
        out += (out.empty() ? "" : " ") + (quoted ? "'" + argument + "'" : argument);
    }
    return out;
}

}  // namespace murmelix
