#include "listening/listening_analysis.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/held_messages.h"
#include "audio/wav_reader.h"
#include "base/text_format.h"
#include "base/user_interface.h"
#include "listening/permutation_test.h"
#include "session/answer_score.h"

namespace murmelix {

namespace {

using Kind = ListeningClip::Kind;

std::set<std::string> wordSet(const std::string& answer) {
    const auto words = AnswerScore::wordsOf(answer);
    return {words.begin(), words.end()};
}

std::optional<double> mean(const std::vector<double>& values) {
    if (values.empty()) {
        return std::nullopt;
    }
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

// The mean share of answer words among `words`, over the answers that heard something.
std::optional<double> agreementWith(const std::vector<ListeningResults::Answer>& answers,
                                    const std::string& words) {
    std::vector<double> shares;
    for (const auto& answer : answers) {
        if (ListeningAnalysis::heardSomething(answer.text)) {
            if (const auto score = AnswerScore::of(answer.text, {words})) {
                shares.push_back(score->foundShare());
            }
        }
    }
    return mean(shares);
}

void addPairs(ListeningResults::Clip& clip) {
    std::vector<double> overlaps;
    int sharing = 0;
    for (size_t i = 0; i < clip.answers.size(); ++i) {
        for (size_t j = i + 1; j < clip.answers.size(); ++j) {
            const double o = ListeningAnalysis::overlap(clip.answers[i].text, clip.answers[j].text);
            overlaps.push_back(o);
            sharing += o > 0 ? 1 : 0;
        }
    }
    clip.agreement = mean(overlaps);
    clip.agreed = !overlaps.empty() && 2 * sharing >= static_cast<int>(overlaps.size());
}

std::vector<float> peaksOf(const std::string& path, UserInterface& ui) {
    AudioDocument sound;
    HeldMessages held(ui);
    const bool read = WavReader::readFile(path, sound, held) == 0;
    held.drop();
    std::vector<float> peaks;
    if (!read || sound.frameCount <= 0) {
        return peaks;
    }
    const int64_t frames = sound.frameCount;
    float loudest = 0;
    for (int p = 0; p < ListeningAnalysis::kPeaks; ++p) {
        float peak = 0;
        const int64_t from = frames * p / ListeningAnalysis::kPeaks;
        const int64_t to = std::max(from + 1, frames * (p + 1) / ListeningAnalysis::kPeaks);
        for (int64_t f = from; f < std::min(to, frames); ++f) {
            peak = std::max(peak, std::abs(static_cast<float>(sound.read(0, f))));
        }
        peaks.push_back(peak);
        loudest = std::max(loudest, peak);
    }
    for (float& peak : peaks) {
        peak = loudest > 0 ? peak / loudest : 0.0f;
    }
    return peaks;
}

ListeningResults::Group groupOf(Kind kind, const std::vector<ListeningResults::Clip>& clips) {
    ListeningResults::Group group;
    group.kind = kind;
    std::vector<double> agreement, heard, played, machine;
    for (const auto& clip : clips) {
        if (clip.clip.kind != kind) {
            continue;
        }
        ++group.clips;
        group.agreed += clip.agreed ? 1 : 0;
        if (clip.agreement) {
            agreement.push_back(*clip.agreement);
        }
        if (!clip.answers.empty()) {
            heard.push_back(clip.heardAnything);
        }
        if (clip.playedAgreement) {
            played.push_back(*clip.playedAgreement);
        }
        if (clip.machineAgreement) {
            machine.push_back(*clip.machineAgreement);
        }
    }
    group.meanAgreement = mean(agreement);
    group.meanHeardAnything = mean(heard);
    group.meanPlayedAgreement = mean(played);
    group.meanMachineAgreement = mean(machine);
    return group;
}

std::vector<double> agreementsOf(Kind kind, const std::vector<ListeningResults::Clip>& clips) {
    std::vector<double> out;
    for (const auto& clip : clips) {
        if (clip.clip.kind == kind && clip.agreement) {
            out.push_back(*clip.agreement);
        }
    }
    return out;
}

const char* plural(Kind kind) {
    switch (kind) {
        case Kind::Control:
            return "controls";
        case Kind::Reversed:
            return "reversed copies";
        case Kind::Sequence:
            break;
    }
    return "sequences";
}

std::string summaryOf(const ListeningResults& results) {
    if (results.listeners.empty()) {
        return "Nobody has answered yet.";
    }
    std::string text =
        formatText("%zu listener%s answered. Listeners agreed on ", results.listeners.size(),
                   results.listeners.size() == 1 ? "" : "s");
    for (size_t i = 0; i < results.groups.size(); ++i) {
        const auto& group = results.groups[i];
        text += formatText("%s%d of %d %s",
                           i == 0                           ? ""
                           : i + 1 == results.groups.size() ? " and on "
                                                            : ", on ",
                           group.agreed, group.clips, plural(group.kind));
    }
    text += ".";
    if (const auto& c = results.sequencesAgainstControls) {
        const bool differ = c->pValue < 0.05;
        const std::string compared = std::abs(c->difference) < 0.005
                                         ? std::string("as high as")
                                         : formatText("%.2f %s than", std::abs(c->difference),
                                                      c->difference > 0 ? "higher" : "lower");
        text += formatText(
            " Their agreement on sequences is %s on controls; relabelling the clips at "
            "random gives a difference at least that large %s (p = %.3f)%s.",
            compared.c_str(),
            c->pValue < 0.001
                ? "almost never"
                : formatText(c->pValue < 0.01 ? "in %.1f %% of cases" : "in %.0f %% of cases",
                             c->pValue * 100)
                      .c_str(),
            c->pValue, differ ? ": more than chance would make it" : ", which chance explains");
    }
    return text;
}

}  // namespace

bool ListeningAnalysis::heardSomething(const std::string& answer) {
    const auto words = AnswerScore::wordsOf(answer);
    return !words.empty() && !(words.size() == 1 && words.front() == "nothing");
}

double ListeningAnalysis::overlap(const std::string& a, const std::string& b) {
    if (!heardSomething(a) || !heardSomething(b)) {
        return 0.0;
    }
    const auto first = wordSet(a);
    const auto second = wordSet(b);
    size_t shared = 0;
    for (const std::string& word : first) {
        shared += second.count(word);
    }
    return static_cast<double>(shared) / static_cast<double>(first.size() + second.size() - shared);
}

ListeningResults ListeningAnalysis::of(const ListeningTest& test,
                                       const std::vector<SheetRow>& answers,
                                       const std::string& folder, UserInterface& ui) {
    ListeningResults results;
    for (const SheetRow& row : answers) {
        if (std::find(results.listeners.begin(), results.listeners.end(), row.listener) ==
            results.listeners.end()) {
            results.listeners.push_back(row.listener);
        }
    }
    for (const ListeningClip& clip : test.clips) {
        ListeningResults::Clip out;
        out.clip = clip;
        for (const std::string& listener : results.listeners) {
            for (const SheetRow& row : answers) {
                if (row.listener == listener && row.clip == clip.code) {
                    out.answers.push_back({listener, row.answer});
                }
            }
        }
        int heard = 0;
        for (const auto& answer : out.answers) {
            heard += heardSomething(answer.text) ? 1 : 0;
        }
        out.heardAnything =
            out.answers.empty() ? 0.0 : static_cast<double>(heard) / out.answers.size();
        addPairs(out);
        out.playedAgreement = agreementWith(out.answers, clip.playedWords);
        if (clip.machineWords) {
            out.machineAgreement = agreementWith(out.answers, *clip.machineWords);
        }
        out.peaks = peaksOf(folder + "/" + clip.fileName(), ui);
        results.clips.push_back(std::move(out));
    }
    for (const Kind kind : {Kind::Sequence, Kind::Control, Kind::Reversed}) {
        if (const auto group = groupOf(kind, results.clips); group.clips > 0) {
            results.groups.push_back(group);
        }
    }
    results.sequencesAgainstControls =
        PermutationTest::compare(agreementsOf(Kind::Sequence, results.clips),
                                 agreementsOf(Kind::Control, results.clips), test.seed);
    results.summary = summaryOf(results);
    return results;
}

}  // namespace murmelix
