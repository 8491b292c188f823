#include "Table.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Children.h"
#include "sound/WavPlayer.h"

namespace lumidot::bench {

namespace {

// NoMoreThanTicking: at most the ticking baseline's figure, give or take
// the tenth by which two runs of the same work differ.
enum class Check { AtMost, AtLeast, Equals, NoMoreThanTicking, None };

struct Row {
    std::string figure;
    std::string key;
    std::string unit;
    Check check;
    double target;
    std::string note;
};

// Each hostile overlay's time to its report and peak memory.
std::vector<Row> OverlayRows() {
    std::vector<Row> rows;
    for (const QString& overlay : HostileOverlayNames()) {
        const std::string name = overlay.toStdString();
        rows.push_back({"overlay " + name + ", click to report", "overlay " + name + " report",
                        "ms", Check::AtMost, 1000.0, ""});
        rows.push_back({"overlay " + name + ", peak memory", "overlay " + name + " peak memory",
                        "MB", Check::AtMost, 60.0, ""});
    }
    return rows;
}

std::vector<Row> Rows() {
    // A hostile sound is refused, and the default sound plays in its place.
    const double chime = 1000.0 * WavPlayer::Seconds(WavPlayer::DefaultSound());
    char played[48];
    std::snprintf(played, sizeof played, "(the default sound lasts %.0f ms)", chime);
    const Check le = Check::AtMost;
    const Check ge = Check::AtLeast;
    const Check eq = Check::Equals;
    const Check shown = Check::None;
    const Check ticking = Check::NoMoreThanTicking;
    // clang-format off
    return {
        {"wakeups in the menu",                      "wakeups menu",            "/s", le,    2.0,          ""},
        {"wakeups at the score, the tune over",      "wakeups score",           "/s", le,    2.0,          ""},
        {"wakeups on the empty slot after removal",  "wakeups empty slot",      "/s", le,    2.0,          ""},
        {"wakeups, weak battery, menu lit",          "wakeups weak battery",    "/s", shown, 0.0,          "(as the ticking design: see docs/performance.md)"},
        {"refresh ticks, weak battery, menu lit",    "ticks weak battery",      "/s", ge,    35.0,         ""},
        {"wakeups while a game is played",           "wakeups playing",         "/s", ticking, 0.0,        ""},
        {"key to screen in the menu, median",        "key to screen median",    "ms", le,    30.0,         ""},
        {"processor while a game is played",         "processor playing",       "%",  le,    3.0,          ""},
        {"processor in the menu",                    "processor menu",          "%",  le,    3.0,          ""},
        {"processor in the game-over wait",          "processor game over",     "%",  le,    3.0,          ""},
        {"processor with no cartridge",              "processor no cartridge",  "%",  le,    0.5,          ""},
        {"processor after \"remove cartridge\"",     "processor after removal", "%",  le,    2.0,          ""},
        {"step lateness, median",                    "step lateness median",    "ms", le,    1.0,          ""},
        {"step lateness, 99th percentile",           "step lateness p99",       "ms", le,    3.0,          ""},
        {"refresh tick, nothing changed",            "refresh unchanged",       "ms", le,    0.2,          ""},
        {"refresh tick, every cell changed",         "refresh all changed",     "ms", le,    2.0,          ""},
        {"start to first painted window",            "start to first paint",    "ms", le,    150.0,        ""},
        {"peak resident memory",                     "peak memory",             "MB", le,    80.0,         ""},
        {"PlaySample returns after the sound's end", "sound overrun max",       "ms", le,    30.0,         ""},
        {"re-insertion to the menu, worst",          "reinsertion worst",       "ms", le,    1000.0,       ""},
        {"re-insertion to the menu, median",         "reinsertion median",      "ms", shown, 0.0,          ""},
        {"insert clicks handled inside a tick",      "reinsertion inside tick", "",   ge,    1.0,          ""},
        {"hostile overlays refused with report 481", "overlays refused",        "",   eq,    5.0,          ""},
        {"hostile sounds, longest Play",             "sounds longest play",     "ms", le,    chime + 50.0, played},
        {"hostile and largest sounds, longest Load", "sounds longest load",     "ms", le,    500.0,        ""},
        {"hostile and largest sounds, peak memory",  "sounds peak memory",      "MB", le,    200.0,        ""},
        {"hostile sounds that gave samples",         "sounds refused loaded",   "",   eq,    0.0,          ""},
        {"largest sounds that gave samples",         "sounds largest loaded",   "",   eq,    2.0,          ""},
        {"SIGTERM after a sound, time to exit",      "signal to exit",          "ms", le,    2000.0,       ""},
        {"SIGTERM after a sound, exit code",         "signal exit code",        "",   eq,    0.0,          ""},
        {"Lua cartridge waiting for a key, processor", "lua waiting processor", "%",  le,    1.0,          ""},
        {"Lua endless loop, removal to its end",     "lua loop removed",        "ms", le,    1000.0,       ""},
        {"Lua endless loop, window closed to exit",  "lua loop closed",         "ms", le,    3000.0,       ""},
        {"Lua memory hog, the report's number",      "lua hog error number",    "",   eq,    7.0,          ""},
        {"Lua cartridges, peak resident memory",     "lua peak memory",         "MB", le,    200.0,        ""},
    };
    // clang-format on
}

std::string TargetText(const Row& row) {
    if (row.check == Check::NoMoreThanTicking) {
        return "<= ticking+10%";
    }
    const char* sign = row.check == Check::AtMost    ? "<= "
                       : row.check == Check::AtLeast ? ">= "
                                                     : "= ";
    char text[48];
    std::snprintf(text, sizeof text, "%s%g %s", sign, row.target, row.unit.c_str());
    return row.check == Check::None ? std::string("-") : std::string(text);
}

bool Met(const Row& row, double value, const Figures& ticking) {
    switch (row.check) {
        case Check::NoMoreThanTicking:
            return ticking.count(row.key) != 0 && value <= 1.1 * ticking.at(row.key);
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
    // A count has no unit, and no decimals.
    char text[48];
    std::snprintf(text, sizeof text, "%.*f %-2s", row.unit.empty() ? 0 : 2, found->second,
                  row.unit.c_str());
    return text;
}

}  // namespace

bool PrintTable(const Figures& quiet, const Figures& ticking, const Figures& spinning) {
    std::printf("%-42s %10s %10s %10s %10s\n", "figure", "lumidot", "target", "ticking",
                "spinning");
    bool allMet = true;
    std::vector<Row> rows = Rows();
    const std::vector<Row> overlays = OverlayRows();
    // After the re-insertion rows, as the children run.
    const auto after = std::find_if(rows.begin(), rows.end(), [](const Row& row) {
        return row.key == "reinsertion inside tick";
    });
    rows.insert(after == rows.end() ? after : after + 1, overlays.begin(), overlays.end());
    for (const Row& row : rows) {
        const auto found = quiet.find(row.key);
        const bool met = found != quiet.end() && Met(row, found->second, ticking);
        allMet = allMet && met;
        // The baselines measure only the scripted game.
        const auto baseline = [&row](const Figures& figures) {
            return figures.count(row.key) != 0 ? Value(figures, row) : std::string("-  ");
        };
        std::printf("%-42s %10s %10s %10s %10s %s%s\n", row.figure.c_str(),
                    Value(quiet, row).c_str(), TargetText(row).c_str(), baseline(ticking).c_str(),
                    baseline(spinning).c_str(), met ? "" : "MISSED ", row.note.c_str());
    }
    return allMet;
}

}  // namespace lumidot::bench
