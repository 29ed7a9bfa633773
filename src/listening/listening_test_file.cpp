#include "listening/listening_test_file.h"

#include <nlohmann/json.hpp>
#include <set>

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kVersion = 1;
constexpr uint64_t kMaxFileSize = 64 * 1024 * 1024;

ListeningClip::Kind kindOf(const std::string& name) {
    for (const auto kind : {ListeningClip::Kind::Sequence, ListeningClip::Kind::Control,
                            ListeningClip::Kind::Reversed}) {
        if (name == ListeningClip::kindName(kind)) {
            return kind;
        }
    }
    throw std::invalid_argument("unknown clip kind '" + name + "'");
}

Json clipJson(const ListeningClip& clip) {
    return Json{{"code", clip.code},
                {"kind", ListeningClip::kindName(clip.kind)},
                {"sequence", clip.sequence},
                {"made_with", clip.madeWith},
                {"played_words", clip.playedWords},
                {"machine_words", clip.machineWords ? Json(*clip.machineWords) : Json(nullptr)},
                {"seconds", clip.seconds}};
}

ListeningClip clipFrom(const Json& j) {
    ListeningClip clip;
    clip.code = j.at("code").get<std::string>();
    clip.kind = kindOf(j.at("kind").get<std::string>());
    clip.sequence = j.at("sequence").get<int>();
    clip.madeWith = j.at("made_with").get<std::vector<std::string>>();
    clip.playedWords = j.at("played_words").get<std::string>();
    if (!j.at("machine_words").is_null()) {
        clip.machineWords = j.at("machine_words").get<std::string>();
    }
    clip.seconds = j.at("seconds").get<double>();
    // A code names a file in the folder: nothing but letters and digits.
    if (clip.code.empty() || clip.code.size() > 16 ||
        clip.code.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos) {
        throw std::invalid_argument("the clip code '" + clip.code + "' is not one Murmelix makes");
    }
    return clip;
}

}  // namespace

std::string ListeningTestFile::text(const ListeningTest& test) {
    Json clips = Json::array();
    for (const ListeningClip& clip : test.clips) {
        clips.push_back(clipJson(clip));
    }
    const Json root{{"murmelix_listening_test", kVersion},
                    {"seed", test.seed},
                    {"session_file", test.sessionFile},
                    {"recording", test.recording},
                    {"created", test.created},
                    {"clips", clips}};
    return root.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Result ListeningTestFile::parse(const std::string& text, const std::string& path,
                                ListeningTest& out) {
    out = {};
    try {
        const Json root = Json::parse(text);
        if (root.at("murmelix_listening_test").get<int>() != kVersion) {
            return Result::failure(formatText(
                "The listening test '%s' was made by a newer Murmelix and is left as it is.",
                path.c_str()));
        }
        ListeningTest test;
        test.seed = root.at("seed").get<uint64_t>();
        test.sessionFile = root.at("session_file").get<std::string>();
        test.recording = root.at("recording").get<std::string>();
        test.created = root.at("created").get<std::string>();
        std::set<std::string> codes;
        for (const Json& clip : root.at("clips")) {
            test.clips.push_back(clipFrom(clip));
            if (!codes.insert(test.clips.back().code).second) {
                throw std::invalid_argument("the clip code '" + test.clips.back().code +
                                            "' is there twice");
            }
        }
        out = std::move(test);
        return Result::success();
    } catch (const std::exception& e) {
        return Result::failure(
            formatText("The listening test's key '%s' is damaged or was edited (%s); it is not "
                       "used.",
                       path.c_str(), e.what()));
    }
}

Result ListeningTestFile::read(const std::string& folder, ListeningTest& out) {
    out = {};
    const std::string path = keyPath(folder);
    InputFile file;
    std::string text;
    if (!file.open(path) || file.size() > kMaxFileSize || !file.readAll(text)) {
        return Result::failure(
            formatText("'%s' is no listening test folder: its key '%s' cannot be read (%s).",
                       folder.c_str(), path.c_str(),
                       file.size() > kMaxFileSize ? "larger than 64 MB" : file.reason().c_str()));
    }
    return parse(text, path, out);
}

Result ListeningTestFile::write(const std::string& folder, const ListeningTest& test) {
    const std::string path = keyPath(folder);
    AtomicFile file(path);
    if (!file.open() || !file.write(text(test)) || !file.commit()) {
        return Result::failure(formatText("Can't write the listening test's key '%s' (%s).",
                                          path.c_str(),
                                          InputFile::describeError(file.error()).c_str()));
    }
    return Result::success();
}

}  // namespace murmelix
