// The keys of the study controls, and --keys FILE: key presses timed by output frame, for
// recordings and tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the study controls are asked to do; the live show maps its keys onto these, a key script
// names them.
enum class StudyKey {
    Space,     // pause / resume
    Period,    // one frame forward while paused
    Comma,     // one frame back while paused
    Right,     // 5 s forward
    Left,      // 5 s back
    PageDown,  // the start of the next scene visit
    PageUp,    // the start of the current visit; twice quickly: of the one before
    Home,      // the show's start
    Tab,       // the overlay on or off
    Help,      // the list of keys on or off (F1 or "?"; not in key scripts)
};

// One line of a key script: the key is applied just after output frame `frame` is written.
struct ScriptedKey {
    int64_t frame = 0;
    StudyKey key = StudyKey::Space;
};

// The script's name of a key ("Space", "PageDown", ...).
const char* StudyKeyName(StudyKey key);

// Parses a script: one `FRAME KEY` per line, FRAME a whole number, frames never going down.
// Empty lines and lines starting with '#' are skipped. False with a one-line reason ("line N:
// ...") for a malformed line, an unknown key or a frame out of order.
bool ParseKeyScript(const std::string& text, std::vector<ScriptedKey>* keys, std::string* error);

// Reads and parses the script at path; a file that cannot be read is an error too, and every
// reason names the file.
bool ReadKeyScript(const std::string& path, std::vector<ScriptedKey>* keys, std::string* error);
