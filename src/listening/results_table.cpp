#include "listening/results_table.h"

#include <nlohmann/json.hpp>

#include "base/csv_text.h"
#include "base/text_format.h"
#include "base/utf8_text.h"

namespace murmelix {

namespace {

using Json = nlohmann::ordered_json;

std::string number(const std::optional<double>& value) {
    return value ? formatText("%.4f", *value) : std::string();
}

Json maybe(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

std::string answersText(const ListeningResults::Clip& clip) {
    std::string out;
    for (const auto& answer : clip.answers) {
        out += (out.empty() ? "" : " | ") + answer.listener + ": " + answer.text;
    }
    return out;
}

}  // namespace

std::string ResultsTable::csv(const ListeningResults& results) {
    std::string out = CsvText::row(
        {"clip", "kind", "sequence", "seconds", "answers", "heard_anything", "agreement", "agreed",
         "played_agreement", "machine_agreement", "played_words", "machine_words", "answer_texts"});
    for (const auto& c : results.clips) {
        const std::vector<std::string> fields = {
            c.clip.code,
            ListeningClip::kindName(c.clip.kind),
            std::to_string(c.clip.sequence),
            formatText("%.3f", c.clip.seconds),
            std::to_string(c.answers.size()),
            c.answers.empty() ? "" : formatText("%.4f", c.heardAnything),
            number(c.agreement),
            c.agreed ? "true" : "false",
            number(c.playedAgreement),
            number(c.machineAgreement),
            Utf8Text::fromBytes(c.clip.playedWords),
            c.clip.machineWords ? Utf8Text::fromBytes(*c.clip.machineWords) : "",
            Utf8Text::fromBytes(answersText(c))};
        out += CsvText::row(fields);
    }
    return out;
}

std::string ResultsTable::json(const ListeningResults& results) {
    Json clips = Json::array();
    for (const auto& c : results.clips) {
        Json answers = Json::array();
        for (const auto& a : c.answers) {
            answers.push_back(Json{{"listener", a.listener}, {"answer", a.text}});
        }
        clips.push_back(Json{
            {"clip", c.clip.code},
            {"kind", ListeningClip::kindName(c.clip.kind)},
            {"sequence", c.clip.sequence},
            {"seconds", c.clip.seconds},
            {"answers", answers},
            {"heard_anything", c.answers.empty() ? Json(nullptr) : Json(c.heardAnything)},
            {"agreement", maybe(c.agreement)},
            {"agreed", c.agreed},
            {"played_agreement", maybe(c.playedAgreement)},
            {"machine_agreement", maybe(c.machineAgreement)},
            {"played_words", c.clip.playedWords},
            {"machine_words", c.clip.machineWords ? Json(*c.clip.machineWords) : Json(nullptr)}});
    }
    Json groups = Json::array();
    for (const auto& g : results.groups) {
        groups.push_back(Json{{"kind", ListeningClip::kindName(g.kind)},
                              {"clips", g.clips},
                              {"agreed", g.agreed},
                              {"mean_agreement", maybe(g.meanAgreement)},
                              {"mean_heard_anything", maybe(g.meanHeardAnything)},
                              {"mean_played_agreement", maybe(g.meanPlayedAgreement)},
                              {"mean_machine_agreement", maybe(g.meanMachineAgreement)}});
    }
    Json comparison = nullptr;
    if (const auto& c = results.sequencesAgainstControls) {
        comparison = Json{{"difference", c->difference},
                          {"p_value", c->pValue},
                          {"relabellings", c->relabellings},
                          {"exact", c->exact}};
    }
    const Json root{{"listeners", results.listeners},
                    {"summary", results.summary},
                    {"groups", groups},
                    {"sequences_against_controls", comparison},
                    {"clips", clips}};
    return root.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace murmelix
