#include "cli/commands.h"

#include "cli/cues_command.h"
#include "cli/device_commands.h"
#include "cli/effect_command.h"
#include "cli/import_command.h"
#include "cli/info_command.h"
#include "cli/join_command.h"
#include "cli/random_command.h"
#include "cli/render_command.h"
#include "cli/render_waveform_command.h"
#include "cli/session_command.h"
#include "cli/test_command.h"

namespace murmelix::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"info", "info FILE.wav [--json]", &runInfo},
        {"effect", "effect reverse|echo|normalize IN.wav OUT.wav [--delay MS] [--decay PERCENT]",
         &runEffect},
        {"join", "join -o OUT.wav IN1.wav IN2.wav ...", &runJoin},
        {"import", "import IN -o OUT.wav [--channels 1|2] [--bits 8|16]", &runImport},
        {"random",
         "random [--source pseudo|fractal|file|soundcard] [--seed N] [--absolute] [--r R] "
         "[--x X] [--file F.pcm] [--no-loop] [--device N] [--count N] [--bound B] [--numbers] "
         "[-o OUT.txt]",
         &runRandom},
        {"render",
         "render IN.wav -o OUT.wav (--segments N | --seconds S) [--from MS] [--to MS] "
         "[--overlap] [--no-zero-cross] [--cross-fade] [--cues] [--source ...] [--seed N] "
         "[--absolute] [--r R] [--x X] [--file F.pcm] [--no-loop] [--device N] "
         "[--session FILE.oqt] [--question TEXT] [--answer TEXT]\n  render --like FILE.oqt "
         "--sequence K [--seed N] -o OUT.wav [--segments N | --seconds S] [--session FILE.oqt]",
         &runRender},
        {"devices", "devices", &runDevices},
        {"play",
         "play FILE.wav [--device N] [--speed P]\n  play --oqt FILE.wav --seconds S [--speed P] "
         "[--device N] [segment and random-source options of render] [--session FILE.oqt] "
         "[--question TEXT]",
         &runPlay},
        {"record",
         "record -o OUT.wav --seconds S [--rate R] [--channels 1|2] [--bits 8|16] "
         "[--normalize] [--device N]",
         &runRecord},
        {"session",
         "session show FILE.oqt [--json]\n  session export FILE.oqt --sequence K -o OUT.wav\n"
         "  session transcribe FILE.oqt [--sequence K]\n  session table FILE.oqt -o OUT.csv",
         &runSession},
        {"test",
         "test make FILE.oqt -o TESTDIR [--controls N] [--reversed] [--seed N] "
         "[--sequences K,L,...]\n  test import TESTDIR SHEET.csv...\n  test report TESTDIR -o "
         "REPORT.html [--csv OUT.csv] [--json OUT.json]",
         &runTest},
        {"cues",
         "cues export IN.wav -o OUT.txt|OUT.TextGrid\n  cues import IN.wav LABELS -o OUT.wav "
         "[--add] [--tier NAME]\n  cues find pauses|words|phonemes IN -o OUT.wav "
         "[--transcript FILE|--text TEXT] [--threshold DB] [--min-pause MS] [--min-region MS] "
         "[--padding MS] [--zero-cross] [--ipa] [--add]",
         &runCues},
        {"render-waveform",
         "render-waveform IN.wav -o OUT.png [--width W] [--height H] [--from S] [--to S] [--dark]",
         &runRenderWaveform},
    };
    return all;
}

}  // namespace murmelix::cli
