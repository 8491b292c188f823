// Lua cartridges through the slot on the virtual clock: the API, the
// sandbox, the limits and the reports, each a table of small scripts.
// The numbers are the ones docs/cartridges.md promises.

#include "cartridges/lua/LuaCartridge.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "console/Slot.h"
#include "support/RecordingHost.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

namespace fs = std::filesystem;

// A cartridge folder, written afresh for each case beside a file outside it.
struct CartridgeTest {
    CartridgeTest() {
        fs::create_directories(folder / "sub");
        for (const char* name : {"pic.gif", "a.wav", "sub/b.wav", "../outside.gif"})
            Write(name, "file");
        fs::create_symlink(base / "outside.gif", folder / "link.gif");
        slot.Plug(cartridge);
        host.onEject = [this] { ++ejected, slot.Remove(); };
        platform.waiting = true;
        platform.draws = {.5f, .99f};
        platform.At(900, [this] {
            ADD_FAILURE() << "the script outlived its case";
            slot.Close();
        });
        // What an earlier cartridge left, and a key pressed with the slot empty.
        console.DotOn(8, 13);
        host.SetOverlayPicture("old.gif");
        host.SetKeyVisible(4, false), host.SetKeyCaption(5, "Go"), host.SetKeyPicture(7, "old.gif");
        console.PressKey(5);
    }
    ~CartridgeTest() { fs::remove_all(base); }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder / name) << text;
    }
    // Runs the script, with $OUT standing for the outside file's full path.
    void Play(std::string script) {
        for (auto at = script.find("$OUT"); at != script.npos; at = script.find("$OUT"))
            script.replace(at, 4, (base / "outside.gif").string());
        Write("cartridge.lua", script);
        slot.Insert();
    }
    std::string Local(const std::string& path) const {
        const std::string root = fs::canonical(folder).string() + "/";
        return path.empty() ? "chime" : path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
    }
    // The display, the latch, the window, the sounds and the clock as the
    // script left them.
    std::string Seen() {
        std::ostringstream out;
        out << "lit";
        for (int i = 1; i <= 256; ++i)
            out << (console.Dots(i) != 0 ? " " + std::to_string(i) : "");
        out << " | key " << console.KeyPressed();
        if (!host.overlay.empty()) out << " | overlay " << Local(host.overlay);
        for (std::int16_t k = 1; k <= 12; ++k) {
            const auto& [hidden, caption, picture, name] = host.Dress(k);
            if (hidden.empty() && caption.empty() && picture.empty() && name.empty()) continue;
            out << " | " << k << (hidden.empty() ? "" : " hidden") << (caption.empty() ? "" : " ")
                << caption << (picture.empty() ? "" : " " + Local(picture))
                << (name.empty() ? "" : " '" + name + "'");
        }
        std::string columns;
        bool pointing = false;
        for (int c = 1; c <= 16; ++c) {
            columns += " " + std::to_string(slot.PointerKey(c));
            pointing = pointing || slot.PointerKey(c) != 0;
        }
        if (pointing) out << " | columns" << columns;
        for (const auto& [path, at] : platform.played)
            out << " | sound " << Local(path) << " at " << std::lround(at * 1000);
        out << " | " << std::lround(platform.Seconds() * 1000) << " ms";
        if (!host.report.empty()) out << " | report " << host.report;
        return out.str();
    }

    static fs::path NewBase() {
        static int made = 0;
        return fs::temp_directory_path() /
               ("lumidot-lua-" + std::to_string(getpid()) + "-" + std::to_string(++made));
    }

    fs::path base = NewBase();
    fs::path folder = base / "Cart";
    testing::VirtualPlatform platform;
    Console console{platform};
    testing::RecordingHost host;
    LuaCartridge cartridge{console, host, "Cart", folder};
    Slot slot{console};
    int ejected = 0;
};

struct ApiRow {
    const char* script;
    std::vector<std::pair<double, std::int16_t>> keys;  // pressed at a time
    const char* seen;
};

void PrintTo(const ApiRow& row, std::ostream* out) {
    *out << row.script;
}

struct ApiTest : CartridgeTest, ::testing::TestWithParam<ApiRow> {};

// Each row starts from an earlier cartridge's window, dot and key: they go.
TEST_P(ApiTest, ScriptLeavesTheConsoleAsDocumented) {
    for (const auto& [t, key] : GetParam().keys)
        platform.At(t, [this, k = key] { console.PressKey(k); });
    Play(GetParam().script);
    EXPECT_EQ(Seen(), GetParam().seen);
    EXPECT_TRUE(console.CartridgeOn()) << "the game is over; the cartridge stays in";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Functions, ApiTest, ::testing::Values(
    ApiRow{"", {}, "lit | key 0 | 0 ms"},
    ApiRow{"dot_on(1, 1) dot_on(16, 16) dot_on(17, 1) dot_on(0, 3) dot_on(2.0, '3') dot_off(16, 16)",
           {}, "lit 1 17 32 34 | key 0 | 0 ms"},
    ApiRow{"dot_on(3, 2) key_caption(1, tostring(dot(3, 2)) .. tostring(dot(4, 2))) clear()"
           " key_caption(2, tostring(dot(3, 2)))", {}, "lit | key 0 | 1 truefalse | 2 false | 0 ms"},
    ApiRow{"key_caption(1, key()) pause(100) key_caption(2, key()) key_caption(3, key())",
           {{.05, 6}}, "lit | key 0 | 1 0 | 2 6 | 3 0 | 100 ms"},
    ApiRow{"key_caption(1, wait_key())", {{.3, 7}}, "lit | key 0 | 1 7 | 300 ms"},
    ApiRow{"key_caption(1, wait_key(250))", {{.3, 7}}, "lit | key 0 | 1 0 | 250 ms"},
    ApiRow{"pause(100) key_caption(1, wait_key(1000))", {{.05, 4}}, "lit | key 0 | 1 4 | 100 ms"},
    ApiRow{"pause(100) key_caption(1, wait_key(0))", {{.05, 4}}, "lit | key 0 | 1 4 | 100 ms"},
    ApiRow{"pause(40000) key_caption(1, string.format('%.3f', seconds()))", {},
           "lit | key 0 | 1 40.000 | 40000 ms"},
    ApiRow{"key_caption(1, random()) key_caption(2, random(6))", {}, "lit | key 0 | 1 0.5 | 2 6 | 0 ms"},
    // A sound holds the window: the next call handles its events first.
    ApiRow{"sound('a.wav') sound('sub/b.wav') sound('missing.wav')", {},
           "lit | key 0 | sound a.wav at 0 | sound sub/b.wav at 251 | sound chime at 502 | 752 ms"},
    ApiRow{"key_caption(1, tostring(inserted()))", {}, "lit | key 0 | 1 true | 0 ms"},
    ApiRow{"overlay('sub/../pic.gif')", {}, "lit | key 0 | overlay pic.gif | 0 ms"},
    ApiRow{"overlay('pic.gif') overlay()", {}, "lit | key 0 | 0 ms"},
    ApiRow{"key_visible(4, false) key_picture(7, 'pic.gif') key_name(7, 'Fire') key_picture(8, 'pic.gif')"
           " key_picture(8, nil) key_caption(9, 'Go')", {}, "lit | key 0 | 4 hidden | 7 pic.gif 'Fire' | 9 Go | 0 ms"},
    ApiRow{"pointer_keys({7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 9, 9, 9, 9, 0})", {},
           "lit | key 0 | columns 7 7 7 7 7 8 8 8 8 8 8 9 9 9 9 0 | 0 ms"},
    // The libraries a cartridge has, and load for text.
    ApiRow{"key_caption(1, ('%d'):format(math.max(2, 3)) .. utf8.char(65) .. table.concat({'b'}) .."
           " coroutine.status(coroutine.create(print)) .. load('return 5')())", {},
           "lit | key 0 | 1 3Absuspended5 | 0 ms"},
    // The table functions that work in slices still work as Lua's own.
    ApiRow{"local t, v = {1, 2, 3}, {1, 2, 3, 4} table.insert(t, 1, 0) table.insert(t, 9)"
           " table.remove(t, 2) table.remove(t) local u = table.move(t, 1, 3, 2, {})"
           " key_caption(1, table.concat(t, ',') .. ' ' .. table.concat(u, ',', 2, 4))"
           " key_caption(2, table.concat(table.move(v, 1, 3, 2), ',') .. ' ' .."
           " table.concat(table.move(v, 2, 4, 1), ','))", {},
           "lit | key 0 | 1 0,2,3 0,2,3 | 2 1,1,2,3 1,2,3,3 | 0 ms"},
    // Sounds from outside the folder are refused: up, absolute, by a link.
    ApiRow{"sound('../outside.gif') sound('$OUT') sound('link.gif')", {},
           "lit | key 0 | sound chime at 0 | sound chime at 251 | sound chime at 502 | 752 ms"}));
// clang-format on

struct EndingRow {
    const char* script;
    int number;           // the report's, or 0 for none
    const char* message;  // what the report says after its first line
    double outAt = 0;     // when the cartridge comes out, if it has no report
    bool close = false;   // out by the window's close rather than a removal
};

void PrintTo(const EndingRow& row, std::ostream* out) {
    *out << (row.script == nullptr ? "(no script)" : row.script);
}

struct EndingTest : CartridgeTest, ::testing::TestWithParam<EndingRow> {};

// A report names the cartridge, its number and Lua's message; then the
// cartridge is out. Taken out, a script ends at once whatever it does.
TEST_P(EndingTest, ScriptEndsWithItsReportOrAtOnceWhenOut) {
    const EndingRow& row = GetParam();
    if (row.outAt > 0) {
        platform.readStep = 1e-4;  // computing takes time
        platform.At(row.outAt, [this, &row] { row.close ? slot.Close() : slot.Remove(); });
    }
    if (row.script == nullptr) {
        slot.Insert();  // no cartridge.lua
    } else {
        // "--big": a script of more than 1 MiB.
        Play(row.script + (row.script == std::string("--big") ? std::string(1 << 20, '-') : ""));
    }
    EXPECT_FALSE(console.CartridgeOn());
    EXPECT_EQ(host.Dress(1)[1], "") << "no API function works once the cartridge is out";
    if (row.number == 0) {
        EXPECT_EQ(host.report, "");
        EXPECT_EQ(ejected, 0);
        EXPECT_LT(platform.Seconds(), row.outAt + 0.02);
        return;
    }
    const std::string first = "Whoops... Error in Cart, cannot continue. Error number: ";
    EXPECT_EQ(host.report.substr(0, host.report.find('\n')), first + std::to_string(row.number));
    EXPECT_NE(host.report.find(row.message, host.report.find('\n')), std::string::npos)
        << host.report;
    EXPECT_EQ(ejected, 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sandbox, EndingTest, ::testing::Values(
    EndingRow{"io.open('/etc/passwd')", 51, "cartridge.lua:1: attempt to index a nil value (global 'io')"},
    EndingRow{"os.execute('true')", 51, "(global 'os')"},
    EndingRow{"package.loadlib('libc.so.6', '*')", 51, "(global 'package')"},
    EndingRow{"require('io')", 51, "(global 'require')"},
    EndingRow{"debug.sethook()", 51, "(global 'debug')"},
    EndingRow{"dofile('/etc/passwd')", 51, "(global 'dofile')"},
    EndingRow{"loadfile('/etc/passwd')", 51, "(global 'loadfile')"},
    EndingRow{"string.dump(print)", 51, "(field 'dump')"},
    EndingRow{"('x'):dump()", 51, "(method 'dump')"},
    EndingRow{"assert(load('\\27Lua\\84\\0', 'x', 'b'))", 51, "attempt to load a binary chunk"},
    EndingRow{"setmetatable({}, {__gc = function() end})", 51, "__gc metamethods are not available"},
    EndingRow{"overlay('../outside.gif')", 53, "File not found: ../outside.gif"},
    EndingRow{"overlay('$OUT')", 53, "File not found: /"},
    EndingRow{"key_picture(1, 'link.gif')", 53, "File not found: link.gif"}));

INSTANTIATE_TEST_SUITE_P(Limits, EndingTest, ::testing::Values(
    EndingRow{"while true do end", 0, "", .02},
    EndingRow{"while true do end", 0, "", .02, true},
    EndingRow{"pause(1000) key_caption(1, 'late')", 0, "", .5},
    EndingRow{"while true do pcall(function() while true do end end) end", 0, "", .02},
    EndingRow{"xpcall(function() while true do end end, function() while true do end end)"
              " while true do end", 0, "", .02},
    EndingRow{"local co = coroutine.wrap(function() while true do end end) while true do pcall(co) end",
              0, "", .02},
    EndingRow{"local x <close> = setmetatable({}, {__close = function() while true do end end})"
              " while true do end", 0, "", .02},
    EndingRow{"local co = coroutine.create(function() local x <close> = setmetatable({}, {__close ="
              " function() while true do end end}) while true do end end) coroutine.resume(co)"
              " coroutine.close(co) while true do end", 0, "", .02},
    EndingRow{"coroutine.wrap(function() local x <close> = setmetatable({}, {__close ="
              " function() while true do end end}) while true do end end)()", 0, "", .02},
    EndingRow{"table.move({}, 1, 1 << 40, 2)", 0, "", .02},
    EndingRow{"table.insert(setmetatable({}, {__len = function() return 1 << 40 end}), 1, 0)", 0, "", .02},
    EndingRow{"local t = {} for i = 1, 1e9 do t[i] = ('x'):rep(1 << 16) .. i end", 7, "not enough memory"},
    EndingRow{"local s = 'x' while true do s = s .. s end", 7, "not enough memory"},
    EndingRow{"local s = ('x'):rep(65 << 20) error('kept')", 7, "not enough memory"},  // 64 MB
    EndingRow{"local function f() return 1 + f() end f()", 51, "stack overflow"},
    EndingRow{"local function f() return 1 + f() end xpcall(f, function() while true do end end)",
              51, "stack overflow"},
    EndingRow{"x = = 1", 51, "cartridge.lua:1: unexpected symbol near '='"},
    EndingRow{"\nerror('boom')", 51, "cartridge.lua:2: boom"},
    EndingRow{"dot_on(17, 16)", 9, "cartridge.lua:1: Subscript out of range"},
    EndingRow{"dot_on(1, 2048)", 6, "Overflow"},
    EndingRow{"dot_on(1.5, 1)", 51, "number has no integer representation"},
    EndingRow{"overlay('missing.gif')", 53, "File not found: missing.gif"},
    EndingRow{"key_caption(13, 'x')", 9, "Subscript out of range"},
    EndingRow{"pcall(dot_on, 0, 1) error('later')", 51, "later"},
    EndingRow{"coroutine.wrap(function() dot(0, 1) end)()", 9, "Subscript out of range"},
    EndingRow{nullptr, 53, "File not found: cartridge.lua"},
    EndingRow{"--big", 53, "cartridge.lua is larger than 1 MiB"},
    EndingRow{"string.rep('', 1 << 60) error('soon')", 51, "soon"},
    EndingRow{"string.rep('a', 40):find(string.rep('a*', 40) .. 'b')", 51, "pattern too complex"}));
// clang-format on

}  // namespace
}  // namespace lumidot
