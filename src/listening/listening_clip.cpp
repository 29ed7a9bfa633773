#include "listening/listening_clip.h"

namespace murmelix {

const char* ListeningClip::kindName(Kind kind) {
    switch (kind) {
        case Kind::Control:
            return "control";
        case Kind::Reversed:
            return "reversed";
        case Kind::Sequence:
            break;
    }
    return "sequence";
}

}  // namespace murmelix
