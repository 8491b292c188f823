#include "Table.h"

#include <cstdio>
#include <string>
#include <vector>

#include "sound/WavPlayer.h"

namespace lumidot::bench {

namespace {

enum class Check { AtMost, AtLeast, Equals, None };

struct Row {
    std::string figure;
    std::string key;
    std::string unit;
    Check check;
    double target;
    int decimals;
    // Whether the spinning run measures it too.
    bool spinning;
    std::string note;
};

std::vector<Row> Rows() {
    // A hostile sound is refused, and the default sound plays in its place.
    const double chime = 1000.0 * WavPlayer::Seconds(WavPlayer::DefaultSound());
    char played[48];
    std::snprintf(played, sizeof played, "(the default sound lasts %.0f ms)", chime);
    const auto atMost = Check::AtMost;
    // clang-format off
    return {
        {"processor while a game is played",       "processor playing",       "%",  atMost, 3.0,   2, true, ""},
        {"processor in the menu",                  "processor menu",          "%",  atMost, 3.0,   2, true, ""},
        {"processor in the game-over wait",        "processor game over",     "%",  atMost, 3.0,   2, true, ""},
        {"processor with no cartridge",            "processor no cartridge",  "%",  atMost, 0.5,   2, true, ""},
        {"processor after \"remove cartridge\"",   "processor after removal", "%",  atMost, 2.0,   2, true, ""},
        {"step lateness, median",                  "step lateness median",    "ms", atMost, 1.0,   2, true, ""},
        {"step lateness, 99th percentile",         "step lateness p99",       "ms", atMost, 3.0,   2, true, ""},
        {"refresh tick, nothing changed",          "refresh unchanged",       "ms", atMost, 0.2,   2, true, ""},
        {"refresh tick, every cell changed",       "refresh all changed",     "ms", atMost, 2.0,   2, true, ""},
        {"start to first painted window",          "start to first paint",    "ms", atMost, 150.0, 2, true, ""},
        {"peak resident memory",                   "peak memory",             "MB", atMost, 80.0,  2, true, ""},
        {"PlaySample returns after the sound's end", "sound overrun max",     "ms", atMost, 30.0,  2, true, ""},
        {"re-insertion to the menu, worst",        "reinsertion worst",       "ms", atMost, 1000.0, 2, false, ""},
        {"re-insertion to the menu, median",       "reinsertion median",      "ms", Check::None, 0.0, 2, false, ""},
        {"insert clicks handled inside a tick",    "reinsertion inside tick", "",   Check::AtLeast, 1.0, 0, false, ""},
        {"hostile overlay, peak resident memory",  "overlay peak memory",     "MB", atMost, 120.0, 2, false, ""},
        {"hostile overlay, the report's number",   "overlay error number",    "",   Check::Equals, 481.0, 0, false, ""},
        {"hostile sounds, longest Play",           "sounds longest play",     "ms", atMost, chime + 50.0, 2, false, played},
        {"hostile sounds, longest Load",           "sounds longest load",     "ms", Check::None, 0.0, 2, false, ""},
        {"SIGTERM after a sound, time to exit",    "signal to exit",          "ms", atMost, 2000.0, 2, false, ""},
        {"SIGTERM after a sound, exit code",       "signal exit code",        "",   Check::Equals, 0.0, 0, false, ""},
    };
    // clang-format on
}

std::string TargetText(const Row& row) {
    const char* sign = row.check == Check::AtMost    ? "<= "
                       : row.check == Check::AtLeast ? ">= "
                                                     : "= ";
    char text[48];
    std::snprintf(text, sizeof text, "%s%g %s", sign, row.target, row.unit.c_str());
    return row.check == Check::None ? std::string("-") : std::string(text);
}

bool Met(const Row& row, double value) {
    switch (row.check) {
        case Check::AtMost:
            return value <= row.target;
        case Check::AtLeast:
            return value >= row.target;
        case Check::Equals:
            return value == row.target;
        case Check::None:
            break;
    }
    return true;
}

std::string Value(const Figures& figures, const Row& row) {
    const auto found = figures.find(row.key);
    if (found == figures.end()) {
        return "failed";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*f %-2s", row.decimals, found->second, row.unit.c_str());
    return text;
}

}  // namespace

bool PrintTable(const Figures& waiting, const Figures& spinning) {
    std::printf("%-42s %10s %10s %12s\n", "figure", "lumidot", "target", "spinning");
    bool allMet = true;
    for (const Row& row : Rows()) {
        const auto found = waiting.find(row.key);
        const bool met = found != waiting.end() && Met(row, found->second);
        allMet = allMet && met;
        const std::string baseline = row.spinning ? Value(spinning, row) : std::string("-  ");
        std::printf("%-42s %10s %10s %12s %s%s\n", row.figure.c_str(), Value(waiting, row).c_str(),
                    TargetText(row).c_str(), baseline.c_str(), met ? "" : "MISSED ",
                    row.note.c_str());
    }
    return allMet;
}

}  // namespace lumidot::bench
