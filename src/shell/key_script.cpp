// Key scripts: `FRAME KEY` lines.
#include "shell/key_script.h"

#include <cstdio>
#include <cstring>

#include "platform/files.h"

namespace {

// Script names, in StudyKey order; Help has none.
constexpr const char* kNames[] = {"Space",    "Period", "Comma", "Right", "Left",
                                  "PageDown", "PageUp", "Home",  "Tab"};
constexpr int32_t kScriptedKeyCount = static_cast<int32_t>(sizeof kNames / sizeof kNames[0]);
constexpr int64_t kLargestFrame = 99999999;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The line's whitespace-separated words.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        const size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

bool ParseFrame(const std::string& word, int64_t* frame) {
    if (word.empty() || word.size() > 8) {
        return false;
    }
    int64_t value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    *frame = value;
    return value <= kLargestFrame;
}

bool LineError(std::string* error, int32_t line, const std::string& what) {
    *error = "line " + std::to_string(line) + ": " + what;
    return false;
}

// A line as it may appear inside a one-line message: control characters shown as '?', cut short.
std::string Shown(const std::string& line) {
    constexpr size_t kLongest = 40;
    std::string shown;
    for (const char c : line.substr(0, kLongest)) {
        shown += static_cast<unsigned char>(c) < 32 ? '?' : c;
    }
    return line.size() > kLongest ? shown + "..." : shown;
}

}  // namespace

const char* StudyKeyName(StudyKey key) {
    const int32_t index = static_cast<int32_t>(key);
    return index < kScriptedKeyCount ? kNames[index] : "Help";
}

bool ParseKeyScript(const std::string& text, std::vector<ScriptedKey>* keys, std::string* error) {
    keys->clear();
    int32_t number = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        ScriptedKey key;
        if (words.size() != 2 || !ParseFrame(words[0], &key.frame)) {
            return LineError(error, number,
                             "expected FRAME KEY (such as '120 Space'), not '" + Shown(line) + "'");
        }
        int32_t index = 0;
        while (index < kScriptedKeyCount && words[1] != kNames[index]) {
            ++index;
        }
        if (index == kScriptedKeyCount) {
            return LineError(error, number,
                             "unknown key '" + Shown(words[1]) +
                                 "' (Space, Period, Comma, Right, Left, PageDown, PageUp, Home "
                                 "or Tab)");
        }
        key.key = static_cast<StudyKey>(index);
        if (!keys->empty() && key.frame < keys->back().frame) {
            return LineError(error, number,
                             "frame " + words[0] + " comes before frame " +
                                 std::to_string(keys->back().frame) + " of an earlier line");
        }
        keys->push_back(key);
    }
    return true;
}

bool ReadKeyScript(const std::string& path, std::vector<ScriptedKey>* keys, std::string* error) {
    std::FILE* file = OpenRegularFileForReading(path.c_str());
    if (file == nullptr) {
        *error = "cannot read the --keys file '" + path + "'";
        return false;
    }
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) {
        *error = "cannot read the --keys file '" + path + "'";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        *error = "the --keys file '" + path + "' is not text";
        return false;
    }
    if (!ParseKeyScript(text, keys, error)) {
        *error = "--keys '" + path + "' " + *error;
        return false;
    }
    return true;
}
