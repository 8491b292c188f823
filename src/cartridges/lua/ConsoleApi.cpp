#include <cmath>
#include <limits>

#include "cartridges/lua/LuaRun.h"
#include "console/Console.h"

namespace lumidot::lua {

namespace {

// Every function but inserted() first looks at the window and the slot:
// once the cartridge is out, calling one ends the script.
Run& Enter(lua_State* L) {
    KeepWindowAnswering(L);
    return RunOf(L);
}

// Raises the failure Guarded caught, if any; otherwise gives back results.
int Returning(lua_State* L, int error, int results) {
    return error != 0 ? RaiseNumbered(L, error) : results;
}

int SetDot(lua_State* L, bool on) {
    Run& run = Enter(L);
    const std::int16_t x = CheckInt16(L, 1);
    const std::int16_t y = CheckInt16(L, 2);
    return Returning(
        L, Guarded(run, [&] { on ? run.console.DotOn(x, y) : run.console.DotOff(x, y); }), 0);
}

int DotOn(lua_State* L) {
    return SetDot(L, true);
}

int DotOff(lua_State* L) {
    return SetDot(L, false);
}

int Clear(lua_State* L) {
    Run& run = Enter(L);
    return Returning(L, Guarded(run, [&] { run.console.ClearDots(); }), 0);
}

int Dot(lua_State* L) {
    Run& run = Enter(L);
    const std::int16_t x = CheckInt16(L, 1);
    const std::int16_t y = CheckInt16(L, 2);
    bool lit = false;
    const int error = Guarded(run, [&] { lit = run.console.Lit(x, y); });
    lua_pushboolean(L, lit);
    return Returning(L, error, 1);
}

int Key(lua_State* L) {
    Run& run = Enter(L);
    lua_pushinteger(L, run.console.KeyPressed());
    run.console.ClearKey();
    return 1;
}

// Milliseconds from the argument, which must be a number that is not NaN.
double CheckMilliseconds(lua_State* L, int arg, double absent) {
    const double ms = luaL_optnumber(L, arg, absent);
    luaL_argcheck(L, !std::isnan(ms), arg, "not a number");
    return ms;
}

int WaitKey(lua_State* L) {
    Run& run = Enter(L);
    const double ms = CheckMilliseconds(L, 1, std::numeric_limits<double>::infinity());
    std::int16_t key = 0;
    const int error = Guarded(run, [&] {
        run.console.WaitUntil(run.console.Seconds() + ms / 1000.0, [&run, &key] {
            return !run.console.CartridgeOn() || (key = run.console.KeyPressed()) != 0;
        });
        if (key != 0) {
            run.console.ClearKey();
        }
        run.lastPump = run.console.Seconds();
    });
    lua_pushinteger(L, key);
    return Returning(L, error, 1);
}

int Pause(lua_State* L) {
    Run& run = Enter(L);
    const double ms = CheckMilliseconds(L, 1, 0.0);
    return Returning(L,
                     Guarded(run,
                             [&] {
                                 run.console.WaitUntil(run.console.Seconds() + ms / 1000.0, [&run] {
                                     return !run.console.CartridgeOn();
                                 });
                                 run.lastPump = run.console.Seconds();
                             }),
                     0);
}

int Seconds(lua_State* L) {
    Run& run = Enter(L);
    double now = 0.0;
    const int error = Guarded(run, [&] { now = run.console.Seconds(); });
    lua_pushnumber(L, now);
    return Returning(L, error, 1);
}

int Random(lua_State* L) {
    Run& run = Enter(L);
    double draw = 0.0;
    if (const int error = Guarded(run, [&] { draw = static_cast<double>(run.console.Random()); })) {
        return RaiseNumbered(L, error);
    }
    if (lua_isnoneornil(L, 1)) {
        lua_pushnumber(L, draw);
        return 1;
    }
    const lua_Integer n = luaL_checkinteger(L, 1);
    luaL_argcheck(L, n >= 1, 1, "interval is empty");
    // A draw close to 1 times a large n can round up to n itself.
    const double whole = std::floor(draw * static_cast<double>(n));
    lua_pushinteger(L, whole >= static_cast<double>(n) ? n : static_cast<lua_Integer>(whole) + 1);
    return 1;
}

int Inserted(lua_State* L) {
    lua_pushboolean(L, RunOf(L).console.CartridgeOn());
    return 1;
}

}  // namespace

void OpenConsoleApi(lua_State* L) {
    static const luaL_Reg kFunctions[] = {
        {"dot_on", DotOn},  {"dot_off", DotOff},   {"clear", Clear}, {"dot", Dot},
        {"key", Key},       {"wait_key", WaitKey}, {"pause", Pause}, {"seconds", Seconds},
        {"random", Random}, {"inserted", Inserted}};
    for (const luaL_Reg& function : kFunctions) {
        lua_register(L, function.name, function.func);
    }
}

}  // namespace lumidot::lua
