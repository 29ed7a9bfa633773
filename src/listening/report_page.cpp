#include "listening/report_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "base/path_text.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "listening/listening_analysis.h"

namespace murmelix {

namespace {

using Kind = ListeningClip::Kind;

const char* const kDash = "\u2013";

// Okabe and Ito's colours stay apart for every kind of colour blindness; each group has its
// own shape as well, so the plot also reads in grey on paper.
const char* const kStyle = R"css(
:root {
  color-scheme: light dark;
  --fg: #1f2328; --muted: #5d636d; --bg: #ffffff; --soft: #f5f6f8; --line: #dcdfe4;
  --accent: #1d5ea8; --accent-soft: #eaf2fb;
  --sequence: #0072b2; --control: #e69f00; --reversed: #cc79a7;
  --good: #00734d;
}
@media (prefers-color-scheme: dark) {
  :root {
    --fg: #e4e6ea; --muted: #a3a8b1; --bg: #17181b; --soft: #212328; --line: #363941;
    --accent: #8db8f2; --accent-soft: #1b2838; --sequence: #56b4e9; --good: #5fcf9f;
  }
}
* { box-sizing: border-box; }
html { background: var(--bg); color: var(--fg); -webkit-text-size-adjust: 100%; }
body {
  font-family: system-ui, -apple-system, "Segoe UI", Roboto, "Noto Sans", "DejaVu Sans",
    sans-serif;
  font-size: 15px; line-height: 1.5; margin: 0 auto; max-width: 76rem;
  padding: 2rem 1.5rem 3rem; overflow-wrap: anywhere;
}
h1 { font-size: 1.75rem; line-height: 1.25; margin: 0.1rem 0 1rem; }
h2 {
  font-size: 1.2rem; margin: 2.5rem 0 0.8rem; padding-top: 0.6rem;
  border-top: 1px solid var(--line);
}
.eyebrow {
  color: var(--muted); font-size: 0.8rem; letter-spacing: 0.06em; text-transform: uppercase;
  margin: 0;
}
.facts {
  display: grid; grid-template-columns: repeat(auto-fit, minmax(10rem, 1fr)); gap: 0.6rem 1.5rem;
  margin: 0 0 1.2rem;
}
.facts div { border-left: 3px solid var(--line); padding-left: 0.6rem; }
.facts dt { color: var(--muted); font-size: 0.8rem; }
.facts dd { margin: 0; font-weight: 600; }
.facts .names { display: block; font-weight: 400; color: var(--muted); font-size: 0.85rem; }
.summary {
  font-size: 1.2rem; line-height: 1.45; margin: 0; padding: 0.9rem 1.1rem;
  background: var(--accent-soft); border-left: 5px solid var(--accent); border-radius: 4px;
}
.muted, .none { color: var(--muted); }
.none { font-style: italic; }
figure { margin: 0 0 1rem; }
figcaption { color: var(--muted); font-size: 0.85rem; }
svg.plot { display: block; width: 100%; max-width: 36rem; height: auto; }
svg text { fill: var(--fg); font-family: inherit; }
svg .label { font-size: 11px; font-weight: 600; }
svg .count { fill: var(--muted); font-weight: 400; }
svg .tick { font-size: 9.5px; fill: var(--muted); }
svg .title { font-size: 10px; }
svg .axis { stroke: var(--muted); stroke-width: 1; }
svg .grid { stroke: var(--line); stroke-width: 1; }
svg .mean { stroke: var(--fg); stroke-width: 2.5; }
svg .sequence { fill: var(--sequence); }
svg .control { fill: var(--control); }
svg .reversed { fill: var(--reversed); }
svg .dot { stroke: var(--bg); stroke-width: 1.2; fill-opacity: 0.85; }
.side-by-side {
  display: grid; grid-template-columns: minmax(0, 36rem) minmax(0, 1fr); gap: 0.5rem 2.5rem;
  align-items: start;
}
.comparison { max-width: 36rem; margin-top: 0.3rem; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: 0.55rem 0.7rem; }
thead th {
  color: var(--muted); font-size: 0.8rem; font-weight: 600; border-bottom: 2px solid var(--line);
}
tbody tr { border-bottom: 1px solid var(--line); }
td.number, th.number { text-align: right; font-variant-numeric: tabular-nums; }
.groups { max-width: 52rem; margin-top: 1.2rem; }
table.clips th.clip-column { width: 11.5rem; }
table.clips tr.sequence td.clip { box-shadow: inset 3px 0 var(--sequence); }
table.clips tr.control td.clip { box-shadow: inset 3px 0 var(--control); }
table.clips tr.reversed td.clip { box-shadow: inset 3px 0 var(--reversed); }
table.clips th.sound-column { width: 9.5rem; }
table.clips th.words-column { width: 12rem; }
table.clips th.figures-column { width: 11rem; }
.code { font-size: 1.5rem; font-weight: 700; font-variant-numeric: tabular-nums; line-height: 1.1; }
.kind {
  display: inline-block; white-space: nowrap; font-size: 0.78rem; font-weight: 600; padding: 0.05rem 0.5rem;
  border-radius: 999px; border: 1.5px solid; margin: 0.3rem 0 0.2rem;
}
.kind.sequence { border-color: var(--sequence); }
.kind.control { border-color: var(--control); }
.kind.reversed { border-color: var(--reversed); }
.kind::before { content: ""; display: inline-block; width: 0.6em; height: 0.6em;
  margin-right: 0.35em; vertical-align: 0.02em; }
.kind.sequence::before { background: var(--sequence); border-radius: 50%; }
.kind.control::before { background: var(--control); }
.kind.reversed::before { background: var(--reversed); transform: rotate(45deg) scale(0.85); }
.clip-of, .made-with { font-size: 0.85rem; color: var(--muted); margin: 0; }
.made-with { font-size: 0.75rem; }
.made-with span { white-space: nowrap; }
svg.wave { display: block; width: 9rem; height: 2.6rem; }
svg.wave polygon { fill: var(--muted); fill-opacity: 0.75; }
svg.wave line { stroke: var(--line); }
.answers { list-style: none; margin: 0; padding: 0; display: flex; flex-wrap: wrap; gap: 0.4rem; }
.answers li {
  background: var(--soft); border-radius: 4px; padding: 0.3rem 0.6rem; min-width: 5.5rem;
  max-width: 100%; flex: 0 1 auto;
}
.who { display: block; font-size: 0.75rem; color: var(--muted); }
.said { white-space: pre-line; }
.words { margin: 0; }
.words dt { font-size: 0.75rem; color: var(--muted); }
.words dd { margin: 0 0 0.4rem; }
.figures {
  display: grid; grid-template-columns: auto auto; gap: 0.1rem 0.8rem; margin: 0;
  font-size: 0.85rem; white-space: nowrap;
}
.figures dt { color: var(--muted); }
.figures dd { margin: 0; text-align: right; font-variant-numeric: tabular-nums; }
.mark { margin: 0.35rem 0 0; font-size: 0.85rem; font-weight: 600; }
.mark.agreed { color: var(--good); }
.mark.apart { color: var(--muted); font-weight: 400; }
.notes { color: var(--muted); font-size: 0.85rem; max-width: 48rem; }
.notes li { margin-bottom: 0.3rem; }
@media screen and (max-width: 47.99rem) {
  body { padding: 1.2rem 0.9rem 2rem; font-size: 15px; }
  h1 { font-size: 1.4rem; }
  .summary { font-size: 1.05rem; }
  .side-by-side { grid-template-columns: minmax(0, 1fr); }
  svg .label { font-size: 15px; }
  svg .tick { font-size: 13px; }
  svg .title { font-size: 13.5px; }
  table.cards thead { display: none; }
  table.cards, table.cards tbody, table.cards tr, table.cards td { display: block; width: 100%; }
  table.cards tr {
    border: 1px solid var(--line); border-radius: 6px; margin: 0 0 0.9rem; padding: 0.4rem 0;
  }
  table.cards td { padding: 0.35rem 0.8rem; }
  table.clips td.clip { box-shadow: none; }
  table.clips tr.sequence { border-left: 4px solid var(--sequence); }
  table.clips tr.control { border-left: 4px solid var(--control); }
  table.clips tr.reversed { border-left: 4px solid var(--reversed); }
  table.cards td[data-label]::before {
    content: attr(data-label); display: block; font-size: 0.72rem; color: var(--muted);
    text-transform: uppercase; letter-spacing: 0.05em; margin-bottom: 0.15rem;
  }
  table.clips td.clip { display: flex; flex-wrap: wrap; align-items: baseline; gap: 0 0.7rem; }
  svg.wave { width: 100%; }
  .figures { grid-template-columns: 1fr auto 1fr auto; column-gap: 0.9rem; }
  .answers li { flex: 1 1 40%; }
  .words { display: grid; grid-template-columns: 1fr 1fr; column-gap: 0.9rem; }
  table.groups tr {
    display: grid; grid-template-columns: 1fr 1fr; column-gap: 1.2rem; padding: 0.5rem 0.8rem;
    margin-bottom: 0.6rem;
  }
  table.groups td { padding: 0.1rem 0; width: auto; }
  table.groups td:first-child { grid-column: 1 / -1; padding-bottom: 0.2rem; }
  table.groups td.number { display: flex; justify-content: space-between; }
  table.groups td.number::before {
    display: inline; text-transform: none; letter-spacing: 0; font-size: 0.85rem;
  }
}
@page { size: A4; margin: 14mm 12mm 16mm; }
@media print {
  :root {
    --fg: #000; --muted: #444; --bg: #fff; --soft: transparent; --line: #bbb;
    --accent-soft: transparent; --sequence: #0072b2; --accent: #1d5ea8; --good: #00734d;
  }
  html { font-size: 9.5pt; }
  body { max-width: none; padding: 0; font-size: 1rem; }
  .side-by-side { grid-template-columns: minmax(0, 1fr); }
  h1 { font-size: 16pt; }
  h2 { break-after: avoid; }
  .summary { font-size: 11.5pt; }
  figure, .comparison, table.groups, tr, .notes { break-inside: avoid; }
  table.clips th.clip-column { width: 8.5rem; }
  table.clips th.sound-column { width: 6.5rem; }
  table.clips th.words-column { width: 9rem; }
  table.clips th.figures-column { width: 10rem; }
  svg.wave { width: 6rem; }
  .answers li { min-width: 4.5rem; }
  thead { display: table-header-group; }
  .answers li { border: 1px solid var(--line); }
  th, td { padding: 0.35rem 0.45rem; }
}
)css";

std::string fraction(std::optional<double> value) {
    return value ? formatText("%.2f", *value) : kDash;
}

std::string percent(std::optional<double> value) {
    return value ? formatText("%.0f%%", *value * 100.0) : kDash;
}

// "10,000": relabelling counts are read at a glance.
std::string grouped(int number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && digits[i - 1] != '-') {
            text.push_back(',');
        }
        text.push_back(digits[i]);
    }
    return text;
}

std::string pValueText(double p) {
    return p < 0.001 ? "p < 0.001" : formatText("p = %.3f", p);
}

const char* groupName(Kind kind) {
    switch (kind) {
        case Kind::Control:
            return "Controls";
        case Kind::Reversed:
            return "Reversed";
        case Kind::Sequence:
            break;
    }
    return "Sequences";
}

// "2026-12-09T06:37:39Z" reads as "2026-12-09 06:37:39 UTC".
std::string readableTime(std::string time) {
    if (const auto t = time.find('T'); t != std::string::npos) {
        time[t] = ' ';
    }
    if (!time.empty() && time.back() == 'Z') {
        time.replace(time.size() - 1, 1, " UTC");
    }
    return time;
}

// A point of the plot's symbols: circle, square or diamond, by group.
std::string symbol(Kind kind, double x, double y, const std::string& title) {
    const char* name = ListeningClip::kindName(kind);
    const std::string tip = "<title>" + title + "</title>";
    switch (kind) {
        case Kind::Control:
            return formatText(R"(<rect class="dot %s" x="%.1f" y="%.1f" width="11" height="11">)",
                              name, x - 5.5, y - 5.5) +
                   tip + "</rect>";
        case Kind::Reversed:
            return formatText(
                       R"(<polygon class="dot %s" points="%.1f,%.1f %.1f,%.1f %.1f,%.1f %.1f,%.1f">)",
                       name, x, y - 7.0, x + 7.0, y, x, y + 7.0, x - 7.0, y) +
                   tip + "</polygon>";
        case Kind::Sequence:
            break;
    }
    return formatText(R"(<circle class="dot %s" cx="%.1f" cy="%.1f" r="6">)", name, x, y) + tip +
           "</circle>";
}

// Long recordings give many peaks; a picture a few centimetres wide needs about a hundred.
std::vector<float> fewerPeaks(const std::vector<float>& peaks, size_t most) {
    if (peaks.size() <= most) {
        return peaks;
    }
    std::vector<float> fewer(most, 0.0f);
    for (size_t i = 0; i < peaks.size(); ++i) {
        float& bucket = fewer[i * most / peaks.size()];
        bucket = std::max(bucket, peaks[i]);
    }
    return fewer;
}

// The agreement plot's geometry: a row per group, its label above its marks, one 0..1 axis.
struct PlotFrame {
    static constexpr double kWidth = 400.0, kLeft = 8.0, kRight = 14.0, kRow = 66.0;

    double x(double value) const {
        return kLeft + std::clamp(value, 0.0, 1.0) * (kWidth - kLeft - kRight);
    }
    double rowTop(size_t row) const { return static_cast<double>(row) * kRow; }
    double axisY(size_t rows) const { return rowTop(rows) + 2.0; }
};

// Grid lines run through the marks only, so that they never cross a group's label.
std::string plotAxis(const PlotFrame& frame, size_t rows) {
    const char* const labels[] = {"0", "0.25", "0.5", "0.75", "1"};
    const double axisY = frame.axisY(rows);
    std::string axis;
    for (int tick = 0; tick <= 4; ++tick) {
        const double at = frame.x(tick / 4.0);
        for (size_t row = 0; row < rows; ++row) {
            axis += formatText(R"(<line class="grid" x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f"/>)",
                               at, frame.rowTop(row) + 19.0, at, frame.rowTop(row) + 64.0);
        }
        axis += formatText(R"(<line class="axis" x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f"/>)", at,
                           axisY, at, axisY + 4.0) +
                formatText(R"(<text class="tick" x="%.1f" y="%.1f" text-anchor="%s">%s</text>)", at,
                           axisY + 16.0,
                           tick == 0   ? "start"
                           : tick == 4 ? "end"
                                       : "middle",
                           labels[tick]) +
                "\n";
    }
    return axis +
           formatText(R"(<line class="axis" x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f"/>)",
                      frame.x(0.0), axisY, frame.x(1.0), axisY) +
           formatText(R"(<text class="title" x="%.1f" y="%.1f" text-anchor="middle">)"
                      "agreement between listeners (0 to 1)</text>\n",
                      frame.x(0.5), axisY + 33.0);
}

}  // namespace

std::string ReportPage::html(const ListeningTest& test, const ListeningResults& results) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n" + head(test) + "<body>\n" +
           header(test, results) + comparisonSection(results) + clipsSection(results) + notes() +
           "</body>\n</html>\n";
}

std::string ReportPage::escape(std::string_view text) {
    const std::string valid = Utf8Text::fromBytes(std::string(text));
    std::string out;
    out.reserve(valid.size());
    for (const char c : valid) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // Control characters have no place in a page; the listener never meant them.
                const auto byte = static_cast<unsigned char>(c);
                out += (byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F
                           ? std::string("\uFFFD")
                           : std::string(1, c);
        }
    }
    return out;
}

std::string ReportPage::head(const ListeningTest& test) {
    return "<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>Listening test: " +
           escape(PathText::fileNameOf(test.sessionFile)) + "</title>\n<style>" + kStyle +
           "</style>\n</head>\n";
}

std::string ReportPage::header(const ListeningTest& test, const ListeningResults& results) {
    const std::string session = escape(PathText::fileNameOf(test.sessionFile));
    std::string names;
    for (const std::string& listener : results.listeners) {
        names += (names.empty() ? "" : ", ") + escape(listener);
    }
    const auto fact = [](const char* term, const std::string& value) {
        return "<div><dt>" + std::string(term) + "</dt><dd>" + value + "</dd></div>\n";
    };
    return "<header>\n<p class=\"eyebrow\">Murmelix listening test \u00b7 the organiser\u2019s "
           "page, with the key</p>\n<h1>Listening test of " +
           session + "</h1>\n<dl class=\"facts\">\n" +
           fact("Created", "<time datetime=\"" + escape(test.created) + "\">" +
                               escape(readableTime(test.created)) + "</time>") +
           fact("Seed", std::to_string(test.seed)) +
           fact("Listeners",
                std::to_string(results.listeners.size()) +
                    (names.empty() ? "" : " <span class=\"names\">" + names + "</span>")) +
           fact("Clips", std::to_string(results.clips.size())) + "</dl>\n<p class=\"summary\">" +
           escape(results.summary) + "</p>\n</header>\n";
}

std::string ReportPage::comparisonSection(const ListeningResults& results) {
    return "<section>\n<h2>Agreement: sequences against controls</h2>\n<div "
           "class=\"side-by-side\">\n" +
           agreementPlot(results) + comparisonText(results) + "</div>\n" + groupsTable(results) +
           "</section>\n";
}

std::string ReportPage::agreementPlot(const ListeningResults& results) {
    const PlotFrame frame;
    const size_t rows = std::max<size_t>(results.groups.size(), 1);
    std::string svg = formatText(
        "<figure>\n<svg class=\"plot\" viewBox=\"0 0 %.0f %.0f\" role=\"img\" "
        "aria-labelledby=\"plot-caption\">\n",
        PlotFrame::kWidth, frame.axisY(rows) + 40.0);
    svg += plotAxis(frame, rows);
    for (size_t row = 0; row < results.groups.size(); ++row) {
        svg += plotRow(results.groups[row], results.clips, frame.rowTop(row));
    }
    return svg +
           "</svg>\n<figcaption id=\"plot-caption\">Each mark is a clip\u2019s agreement, the "
           "upright bar its group\u2019s mean. Clips with fewer than two answers have none and "
           "are left out.</figcaption>\n</figure>\n";
}

std::string ReportPage::plotRow(const ListeningResults::Group& group,
                                const std::vector<ListeningResults::Clip>& clips, double top) {
    const PlotFrame frame;
    const double y = top + 40.0;
    std::string row =
        formatText(R"(<text class="label" x="%.1f" y="%.1f">%s<tspan class="count"> %s %d clip%s)",
                   PlotFrame::kLeft, top + 13.0, groupName(group.kind), "\u00b7", group.clips,
                   group.clips == 1 ? "" : "s") +
        (group.meanAgreement ? formatText(" \u00b7 mean %.2f", *group.meanAgreement) : "") +
        "</tspan></text>\n";
    int dot = 0;
    for (const ListeningResults::Clip& clip : clips) {
        if (clip.clip.kind != group.kind || !clip.agreement) {
            continue;
        }
        // A fixed spread up and down keeps equal values apart without any randomness.
        const double spread = static_cast<double>(dot++ % 5 - 2) * 6.5;
        row += symbol(group.kind, frame.x(*clip.agreement), y + spread,
                      "clip " + escape(clip.clip.code) + ": " + fraction(clip.agreement)) +
               "\n";
    }
    if (group.meanAgreement) {
        const double at = frame.x(*group.meanAgreement);
        row += formatText(R"(<line class="mean" x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f"/>)", at,
                          y - 19.0, at, y + 19.0) +
               "\n";
    }
    return row;
}

std::string ReportPage::comparisonText(const ListeningResults& results) {
    const auto& comparison = results.sequencesAgainstControls;
    if (!comparison) {
        return "<p class=\"comparison\">No comparison: it needs sequences and controls that have "
               "an agreement each.</p>\n";
    }
    const double size = std::fabs(comparison->difference);
    const char* direction = comparison->difference >= 0.0 ? "more" : "less";
    const std::string how =
        comparison->exact
            ? "all " + grouped(comparison->relabellings) + " relabellings of the clips (exact)"
            : grouped(comparison->relabellings) + " random relabellings of the clips (sampled)";
    const char* reading = comparison->pValue < 0.05
                              ? "Chance alone would rarely make a difference this large."
                              : "Chance alone could well make a difference this large.";
    return formatText(
               "<p class=\"comparison\">Listeners agreed on sequences %.2f %s than on "
               "controls. A difference at least this large, either way, came up in %.1f%% "
               "of ",
               size, direction, comparison->pValue * 100.0) +
           how + " (<strong>" + pValueText(comparison->pValue) + "</strong>). " + reading +
           "</p>\n";
}

std::string ReportPage::groupsTable(const ListeningResults& results) {
    const char* const columns[] = {"Clips",          "Agreed",      "Agreement",
                                   "Heard anything", "With played", "With machine"};
    std::string table = "<table class=\"groups cards\">\n<thead><tr><th>Group</th>";
    for (const char* column : columns) {
        table += "<th class=\"number\">" + std::string(column) + "</th>";
    }
    table += "</tr></thead>\n<tbody>\n";
    for (const ListeningResults::Group& group : results.groups) {
        const std::string values[] = {
            std::to_string(group.clips),         std::to_string(group.agreed),
            fraction(group.meanAgreement),       percent(group.meanHeardAnything),
            fraction(group.meanPlayedAgreement), fraction(group.meanMachineAgreement)};
        table += "<tr><td><span class=\"kind " + std::string(ListeningClip::kindName(group.kind)) +
                 "\">" + groupName(group.kind) + "</span></td>";
        for (size_t column = 0; column < std::size(values); ++column) {
            table += "<td class=\"number\" data-label=\"" + std::string(columns[column]) + "\">" +
                     values[column] + "</td>";
        }
        table += "</tr>\n";
    }
    return table + "</tbody>\n</table>\n";
}

std::string ReportPage::clipsSection(const ListeningResults& results) {
    std::string section =
        "<section>\n<h2>Clips</h2>\n<table class=\"clips cards\">\n<thead><tr>"
        "<th class=\"clip-column\">Clip</th><th class=\"sound-column\">Sound</th><th>Answers</th>"
        "<th class=\"words-column\">Words</th><th class=\"figures-column\">Figures</th></tr>"
        "</thead>\n<tbody>\n";
    for (const ListeningResults::Clip& clip : results.clips) {
        section += clipRow(clip);
    }
    return section + "</tbody>\n</table>\n</section>\n";
}

std::string ReportPage::clipRow(const ListeningResults::Clip& clip) {
    return "<tr id=\"clip-" + escape(clip.clip.code) + "\" class=\"" +
           ListeningClip::kindName(clip.clip.kind) + "\">\n" + clipCell(clip.clip) +
           "<td data-label=\"Sound\">" + waveform(clip.clip.code, clip.peaks) + "</td>\n" +
           "<td data-label=\"Answers\">" + answersCell(clip.answers) + "</td>\n" +
           "<td data-label=\"Words\">" + wordsCell(clip.clip) + "</td>\n" +
           "<td data-label=\"Figures\">" + figuresCell(clip) + "</td>\n</tr>\n";
}

std::string ReportPage::clipCell(const ListeningClip& clip) {
    const char* kind = ListeningClip::kindName(clip.kind);
    // "sequence 3" is one thing to the eye: it never breaks over two lines.
    const std::string number = "sequence\u00a0" + std::to_string(clip.sequence);
    const std::string of = clip.kind == Kind::Control    ? "like " + number
                           : clip.kind == Kind::Reversed ? number + " backwards"
                                                         : number;
    // An option stays on one line with its value: "--seed 2", never "-" and "-seed 2".
    std::string settings;
    for (size_t i = 0; i < clip.madeWith.size(); ++i) {
        std::string option = escape(clip.madeWith[i]);
        if (i + 1 < clip.madeWith.size() && clip.madeWith[i + 1].rfind("--", 0) != 0) {
            option += " " + escape(clip.madeWith[++i]);
        }
        settings += (settings.empty() ? "<span>" : " <span>") + option + "</span>";
    }
    return "<td class=\"clip\"><div class=\"code\">" + escape(clip.code) +
           "</div>\n<span class=\"kind " + kind + "\">" + kind + "</span>\n<p class=\"clip-of\">" +
           of + formatText(" \u00b7 %.1f\u00a0s", clip.seconds) + "</p>\n" +
           (settings.empty()
                ? ""
                : "<p class=\"made-with\">made with <code>" + settings + "</code></p>\n") +
           "</td>\n";
}

std::string ReportPage::waveform(const std::string& code, const std::vector<float>& peaks) {
    if (peaks.empty()) {
        return std::string("<span class=\"none\">no picture</span>");
    }
    const std::vector<float> shown = fewerPeaks(peaks, 120);
    const double last = static_cast<double>(std::max<size_t>(shown.size() - 1, 1));
    std::string top, bottom;
    for (size_t i = 0; i < shown.size(); ++i) {
        const double x = static_cast<double>(i) * 100.0 / last;
        const double h = std::clamp(static_cast<double>(shown[i]), 0.0, 1.0) * 19.0 + 0.4;
        top += formatText("%.1f,%.1f ", x, 20.0 - h);
        bottom = formatText("%.1f,%.1f ", x, 20.0 + h) + bottom;
    }
    return "<svg class=\"wave\" viewBox=\"0 0 100 40\" preserveAspectRatio=\"none\" role=\"img\" "
           "aria-label=\"loudness of clip " +
           escape(code) +
           "\"><line x1=\"0\" y1=\"20\" x2=\"100\" y2=\"20\" vector-effect=\"non-scaling-stroke\"/>"
           "<polygon points=\"" +
           top + bottom + "\"/></svg>";
}

std::string ReportPage::answersCell(const std::vector<ListeningResults::Answer>& answers) {
    if (answers.empty()) {
        return std::string("<span class=\"none\">no answers</span>");
    }
    std::string list = "<ul class=\"answers\">\n";
    for (const ListeningResults::Answer& answer : answers) {
        const std::string said = !ListeningAnalysis::heardSomething(answer.text)
                                     ? std::string("<span class=\"none\">nothing</span>")
                                     : "<span class=\"said\">" + escape(answer.text) + "</span>";
        list += "<li><span class=\"who\">" + escape(answer.listener) + "</span>" + said + "</li>\n";
    }
    return list + "</ul>";
}

std::string ReportPage::wordsCell(const ListeningClip& clip) {
    const auto words = [](const std::string& text) {
        return text.empty() ? std::string(kDash) : escape(text);
    };
    return "<dl class=\"words\"><div><dt>Played</dt><dd>" + words(clip.playedWords) +
           "</dd></div><div><dt>Machine heard</dt><dd>" +
           (clip.machineWords ? words(*clip.machineWords) : std::string(kDash)) +
           "</dd></div></dl>";
}

std::string ReportPage::figuresCell(const ListeningResults::Clip& clip) {
    const auto figure = [](const char* term, const std::string& value) {
        return "<dt>" + std::string(term) + "</dt><dd>" + value + "</dd>";
    };
    const std::string mark = !clip.agreement ? "<p class=\"mark apart\">too few answers</p>"
                             : clip.agreed   ? "<p class=\"mark agreed\">\u2714 agreed</p>"
                                             : "<p class=\"mark apart\">\u2717 not agreed</p>";
    return "<dl class=\"figures\">" + figure("Heard anything", percent(clip.heardAnything)) +
           figure("Agreement", fraction(clip.agreement)) +
           figure("With played", fraction(clip.playedAgreement)) +
           figure("With machine", fraction(clip.machineAgreement)) + "</dl>" + mark;
}

std::string ReportPage::notes() {
    return "<section class=\"notes\">\n<h2>How to read the figures</h2>\n<ul>\n"
           "<li>Answers are compared word by word, in lower case and without punctuation.</li>\n"
           "<li><strong>Agreement</strong>: for every pair of listeners, the words both wrote "
           "over the words either wrote; the clip\u2019s figure is the mean over its pairs. Two "
           "who heard nothing share no words.</li>\n"
           "<li><strong>Agreed</strong>: at least half of the clip\u2019s pairs share a "
           "word.</li>\n"
           "<li><strong>Heard anything</strong>: the share of answers that are not "
           "\u201cnothing\u201d.</li>\n"
           "<li><strong>With played</strong> and <strong>with machine</strong>: the share of "
           "answer words found among the words the clip played, or the recogniser heard in "
           "the sequence, averaged over the answers.</li>\n"
           "<li>A " +
           std::string(kDash) +
           " stands for a figure that cannot be had, as an "
           "agreement with fewer than two answers.</li>\n</ul>\n</section>\n";
}

}  // namespace murmelix
