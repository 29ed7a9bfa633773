#include "listening/listening_session.h"

#include "base/text_format.h"
#include "listening/answer_store.h"
#include "listening/listening_test_file.h"

namespace murmelix {

Result ListeningSession::open(const std::string& folder, const std::string& listener) {
    const std::string name = trimmedText(listener);
    if (name.empty()) {
        return Result::failure("Please type your name or the code you were given.");
    }
    ListeningTest test;
    if (Result read = ListeningTestFile::read(folder, test); !read.ok()) {
        return read;
    }
    std::vector<SheetRow> kept;
    std::vector<std::string> problems;
    if (Result read = AnswerStore::read(folder, test, kept, problems); !read.ok()) {
        return read;
    }
    folder_ = folder;
    listener_ = name;
    test_ = std::move(test);
    answered_.clear();
    for (const SheetRow& row : kept) {
        if (row.listener == listener_) {
            answered_.insert(row.clip);
        }
    }
    next_ = 0;
    skipAnswered();
    return Result::success();
}

void ListeningSession::skipAnswered() {
    while (next_ < test_.clips.size() && answered_.count(test_.clips[next_].code) > 0) {
        ++next_;
    }
}

const ListeningClip* ListeningSession::current() const {
    return next_ < test_.clips.size() ? &test_.clips[next_] : nullptr;
}

std::string ListeningSession::currentPath() const {
    const ListeningClip* clip = current();
    return clip != nullptr ? folder_ + "/" + clip->fileName() : std::string();
}

Result ListeningSession::answer(const std::string& text) {
    const ListeningClip* clip = current();
    const std::string said = trimmedText(text);
    if (clip == nullptr) {
        return Result::failure("Every clip is answered.");
    }
    if (said.empty()) {
        return Result::failure("Please type what you heard, or choose \"Nothing\".");
    }
    if (Result kept = AnswerStore::record(folder_, test_, {listener_, clip->code, said});
        !kept.ok()) {
        return kept;
    }
    answered_.insert(clip->code);
    skipAnswered();
    return Result::success();
}

}  // namespace murmelix
