#pragma once

#include <string>

namespace murmelix {

// File names as text, the way dialogs and messages show them (no file system access).
// Folders are given without a trailing '/' (except the root, "/"); a bare name has none.
struct PathText {
    static std::string folderOf(const std::string& path);
    // The folder part as a remembered folder keeps it: with its trailing '/', empty for a
    // bare name ("a/b.wav" -> "a/").
    static std::string folderPartOf(const std::string& path);
    static std::string fileNameOf(const std::string& path);
    // ".wav" for "a/B.WAV"; empty when the name has no extension.
    static std::string lowerExtension(const std::string& path);
    // "a/b.wav" -> "a/b"; a dot in a folder name is not an extension.
    static std::string withoutExtension(const std::string& path);
};

}  // namespace murmelix
