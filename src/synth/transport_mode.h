#pragma once

namespace murmelix {

// What the program is doing with the sound card; decides which commands are enabled.
enum class TransportMode {
    tmIdle = 1,
    tmPlay = 2,
    tmRandomPlay = 3,
    tmSessionPlay = 4,
    tmRecord = 5,
};

}  // namespace murmelix
