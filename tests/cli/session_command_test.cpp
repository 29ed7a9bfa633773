#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/cli_fixture.h"

namespace {

namespace fs = std::filesystem;

using murmelix::testing::CliFixture;
using murmelix::testing::CliResult;

using SessionCommandTest = CliFixture;

const std::string kV2 =
    "# Murmelix 2.0 session file - do not edit unless you know exactly what you do!\r\n";

TEST_F(SessionCommandTest, JsonHoldsEveryFieldWithTextsEscaped) {
    writeFile("s.oqt", kV2 +
                           "C:\\wav\\caf\xe9.wav\r\n[NextSequence]\r\n2024 03 05 14 07 09\r\n"
                           "Say \"hi\"\ttab\x01\r\n\xe2\x82\xac ok \x80\r\n"
                           "100 200 1 5 \r\n300 50 2 -1 [FADE]\r\n10 20 3 4 k a\r\n");
    const CliResult result = run("session show '" + path("s.oqt") + "' --json");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(
        result.out,
        "{\"version\":2,\"wav_file\":\"C:\\\\wav\\\\caf\xc3\xa9.wav\",\"sequences\":["
        "{\"date_time\":\"2024 03 05 14 07 09\","
        "\"question\":\"Say \\\"hi\\\"\\ttab\\u0001\","
        "\"answer\":\"\xe2\x82\xac ok \xe2\x82\xac\","  // 0x80 is the euro sign in Windows-1252
        "\"entries\":["
        "{\"start\":100,\"length\":200,\"number\":1,\"index\":5,\"label\":\"\","
        "\"fade\":false},"
        "{\"start\":300,\"length\":50,\"number\":2,\"index\":-1,\"label\":\"\","
        "\"fade\":true},"
        "{\"start\":10,\"length\":20,\"number\":3,\"index\":4,\"label\":\"k a\","
        "\"fade\":false}],"
        // A cue segment carries its word even when the recording cannot be read.
        "\"played_words\":[{\"word\":\"k a\",\"heard\":1.0,\"written\":\"k a\"}],"
        "\"machine_words\":null,\"made_with\":null,"
        "\"scores\":{\"played\":{\"answer_words\":3,\"found\":0,\"found_share\":0.0,"
        "\"word_error_rate\":1.5},\"machine\":null}}]}\n");
}

TEST_F(SessionCommandTest, OutcomesAndExitStatus) {
    writeFile("v1.oqt",
              "# Murmelix 1.0 session file\n/w.wav\n[NextSequence]\n2001 02 03 04 05 06\nq\na\n"
              "1 2 3 lbl\nbroken\n");
    writeFile("bad.oqt", "not a session\n");
    writeFile("empty.oqt", kV2 + "/w.wav\r\n");
    ASSERT_EQ(::mkfifo(path("fifo.oqt").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::string arguments;
        int status;
        std::string outContains;
        std::string err;  // exact when given
    };
    const Case cases[] = {
        {"people's text", "session show '" + path("v1.oqt") + "'", 0, "03.02.2001 04:05:06",
         "1 line of session file '" + path("v1.oqt") +
             "' could not be read. It is kept as it is and written back unchanged "
             "when the session is saved.\n"},
        {"version 1 as JSON", "session show --json '" + path("v1.oqt") + "'", 0,
         "\"version\":1,\"wav_file\":\"/w.wav\"",
         "1 line of session file '" + path("v1.oqt") +
             "' could not be read. It is kept as it is and written back unchanged "
             "when the session is saved.\n"},
        {"index of version 1 entries", "session show --json '" + path("v1.oqt") + "'", 0,
         "\"number\":3,\"index\":-1,\"label\":\"lbl\"", ""},
        {"empty session", "session show '" + path("empty.oqt") + "' --json", 0,
         "{\"version\":2,\"wav_file\":\"/w.wav\",\"sequences\":[]}", ""},
        {"not a session file", "session show '" + path("bad.oqt") + "'", 1, "",
         "Invalid session file.\n"},
        {"missing file", "session show '" + path("none.oqt") + "'", 1, "",
         "Can't read session file '" + path("none.oqt") + "' (No such file or directory).\n"},
        {"endless device", "session show /dev/zero", 1, "",
         "Can't read session file '/dev/zero' (not a regular file).\n"},
        {"FIFO without a writer", "session show '" + path("fifo.oqt") + "'", 1, "",
         "Can't read session file '" + path("fifo.oqt") + "' (not a regular file).\n"},
        {"unknown subcommand", "session play '" + path("empty.oqt") + "'", 2, "", ""},
        {"no subcommand", "session", 2, "", ""},
        {"no file", "session show", 2, "", ""},
        {"two files", "session show a.oqt b.oqt", 2, "", ""},
        {"unknown option", "session show --xml '" + path("empty.oqt") + "'", 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.out.find(c.outContains), std::string::npos) << result.out;
        if (c.status == 2) {
            EXPECT_NE(result.err.find("usage: murmelix-cli session show FILE.oqt [--json]"),
                      std::string::npos)
                << result.err;
        } else if (!c.err.empty()) {
            EXPECT_EQ(result.err, c.err);
        }
    }
}

}  // namespace
