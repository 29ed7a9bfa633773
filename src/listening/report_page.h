#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listening/listening_results.h"
#include "listening/listening_test.h"

namespace murmelix {

// The organiser's page of a listening test: one HTML file that needs nothing else (no
// network, its pictures inline), shows the key next to every answer, reads on a phone and
// prints on A4.
class ReportPage {
  public:
    static std::string html(const ListeningTest& test, const ListeningResults& results);

  private:
    // People type the answers: anything may be in them, invalid UTF-8 too.
    static std::string escape(std::string_view text);

    static std::string head(const ListeningTest& test);
    static std::string header(const ListeningTest& test, const ListeningResults& results);
    static std::string comparisonSection(const ListeningResults& results);
    static std::string agreementPlot(const ListeningResults& results);
    static std::string plotRow(const ListeningResults::Group& group,
                               const std::vector<ListeningResults::Clip>& clips, double top);
    static std::string comparisonText(const ListeningResults& results);
    static std::string groupsTable(const ListeningResults& results);
    static std::string clipsSection(const ListeningResults& results);
    static std::string clipRow(const ListeningResults::Clip& clip);
    static std::string clipCell(const ListeningClip& clip);
    static std::string waveform(const std::string& code, const std::vector<float>& peaks);
    static std::string answersCell(const std::vector<ListeningResults::Answer>& answers);
    static std::string wordsCell(const ListeningClip& clip);
    static std::string figuresCell(const ListeningResults::Clip& clip);
    static std::string notes();
};

}  // namespace murmelix
