#include "listening/report_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;

// Every element that is opened is closed, in order; a page that a strict reader would
// repair is not good enough to send around.
const char* const kTagBalance = R"py(
import sys
from html.parser import HTMLParser
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
class Balance(HTMLParser):
    def __init__(self):
        super().__init__()
        self.open = []
    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.open.append(tag)
    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            sys.exit(f"</{tag}> at {self.getpos()} while open: {self.open}")
        self.open.pop()
page = Balance()
page.feed(open(sys.argv[1], encoding="utf-8", errors="strict").read())
page.close()
if page.open:
    sys.exit(f"never closed: {page.open}")
)py";

ListeningResults::Clip resultClip(ListeningClip::Kind kind, const std::string& code,
                                  std::vector<ListeningResults::Answer> answers) {
    ListeningResults::Clip clip;
    clip.clip.kind = kind;
    clip.clip.code = code;
    clip.clip.sequence = 2;
    clip.clip.seconds = 3.5;
    clip.clip.playedWords = "river stone";
    clip.answers = std::move(answers);
    clip.heardAnything = 1.0;
    clip.agreement = 0.5;
    clip.playedAgreement = 0.25;
    clip.peaks = {0.1f, 0.8f, 0.4f};
    return clip;
}

// A sequence, its control and its reversed copy; the reversed one has a single answer and so
// no agreement.
ListeningResults sampleResults() {
    ListeningResults results;
    results.listeners = {"Ann", "Bo"};
    results.clips = {
        resultClip(ListeningClip::Kind::Sequence, "01",
                   {{"Ann", "river <b>&\"x\""}, {"Bo", "river\xFF"}}),
        resultClip(ListeningClip::Kind::Control, "02", {{"Ann", "Nothing."}, {"Bo", "stone"}}),
        resultClip(ListeningClip::Kind::Reversed, "03", {{"Ann", "o'clock"}}),
    };
    results.clips[0].clip.machineWords = "river tone";
    results.clips[1].clip.madeWith = {"--source", "pseudo", "--seed", "99"};
    results.clips[2].agreement.reset();
    for (const ListeningClip::Kind kind :
         {ListeningClip::Kind::Sequence, ListeningClip::Kind::Control,
          ListeningClip::Kind::Reversed}) {
        results.groups.push_back({kind, 1, 1, 0.5, 1.0, 0.25, std::nullopt});
    }
    results.sequencesAgainstControls = ListeningResults::Comparison{0.25, 0.5, 2, true};
    results.summary = "Sequences & controls: no difference";
    return results;
}

ListeningTest sampleTest() {
    ListeningTest test;
    test.seed = 4242;
    test.sessionFile = "/home/ann/talks/evening.mxs";
    test.created = "2026-12-09T06:37:39Z";
    return test;
}

TEST(ReportPageTest, IsOneWellFormedPageThatNeedsNothingElse) {
    const std::string page = ReportPage::html(sampleTest(), sampleResults());
    EXPECT_TRUE(Utf8Text::isValid(page));
    EXPECT_EQ(page.find("http"), std::string::npos);
    EXPECT_EQ(page.find("src="), std::string::npos);

    const ScratchFolder scratch;
    std::ofstream(scratch.file("page.html"), std::ios::binary) << page;
    std::ofstream(scratch.file("balance.py")) << kTagBalance;
    const std::string check =
        "python3 '" + scratch.file("balance.py") + "' '" + scratch.file("page.html") + "'";
    EXPECT_EQ(std::system(check.c_str()), 0);
}

TEST(ReportPageTest, ShowsTheKeyEveryAnswerEscapedAndMissingFiguresAsADash) {
    struct Case {
        const char* text;
        bool shown;
    };
    const std::vector<Case> cases = {
        {">01<", true},
        {">02<", true},
        {">03<", true},
        {"river &lt;b&gt;&amp;&quot;x&quot;", true},
        {"<b>", false},
        {"river\xC3\xBF", true},  // a stray byte read the way every text of the program is
        {"o&#39;clock", true},
        {"<span class=\"none\">nothing</span>", true},
        {"kind control\">control<", true},
        {"kind reversed\">reversed<", true},
        {"made with <code><span>--source pseudo</span> <span>--seed 99</span></code>", true},
        {"<dt>Machine heard</dt><dd>river tone</dd>", true},
        {"<dt>Agreement</dt><dd>\u2013</dd>", true},
        {"<dt>With machine</dt><dd>\u2013</dd>", true},
        {"evening.mxs", true},
        {"/home/ann", false},
        {"4242", true},
        {"2026-12-09 06:37:39 UTC", true},
        {"Sequences &amp; controls: no difference", true},
        {"all 2 relabellings of the clips (exact)", true},
        {"p = 0.500", true},
    };
    const std::string page = ReportPage::html(sampleTest(), sampleResults());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(page.find(c.text) != std::string::npos, c.shown);
    }
}

}  // namespace
}  // namespace murmelix
