#include "cartridges/lua/LuaRun.h"

#include <cmath>

#include "console/Console.h"

namespace lumidot::lua {

namespace {

// Script time between two looks at the window's events: half the most the
// window may wait, so a look that comes a little late is still in time.
constexpr double kPumpSeconds = 0.005;
// Instructions between two of the hook's looks at the clock: a few
// microseconds of script, and the clock costs tens of nanoseconds to read.
constexpr int kHookInstructions = 1000;

// Lua's own stack overflow comes at a million stack slots, which frames
// of a few slots with their call records would take past the memory cap:
// runaway recursion ends here instead, as an error.
constexpr int kMostNestedCalls = 50000;

void Hook(lua_State* L, lua_Debug*) {
    lua_Debug deepest;
    if (lua_getstack(L, kMostNestedCalls, &deepest) != 0) {
        RunOf(L).fatal = "stack overflow";
    }
    KeepWindowAnswering(L);
}

}  // namespace

// Once the cartridge is out the hook looks at every instruction, so a
// pcall or a coroutine that caught this error raises it again at its next
// step.
int RaiseOut(lua_State* L) {
    lua_sethook(L, Hook, LUA_MASKCOUNT, 1);
    lua_pushliteral(L, "the cartridge is out");
    return lua_error(L);
}

Run& RunOf(lua_State* L) {
    return **static_cast<Run**>(lua_getextraspace(L));
}

void InstallHook(lua_State* L) {
    lua_sethook(L, Hook, LUA_MASKCOUNT, kHookInstructions);
}

void KeepWindowAnswering(lua_State* L) {
    Run& run = RunOf(L);
    bool in = false;
    const int error = Guarded(run, [&run, &in] {
        if (run.console.Seconds() - run.lastPump >= kPumpSeconds) {
            run.console.PumpEvents();
            run.lastPump = run.console.Seconds();
        }
        in = run.console.CartridgeOn();
    });
    if (error != 0) {
        RaiseNumbered(L, error);
    }
    if (!in) {
        RaiseOut(L);
    }
    if (run.fatal != nullptr) {
        lua_sethook(L, Hook, LUA_MASKCOUNT, 1);
        luaL_error(L, "%s", run.fatal);
    }
}

bool Ending(lua_State* L) {
    const Run& run = RunOf(L);
    return !run.console.CartridgeOn() || run.fatal != nullptr;
}

int Caught(Run& run, int number, const char* text) noexcept {
    try {
        run.caught = text;
    } catch (...) {
        run.caught.clear();
    }
    return number;
}

int RaiseNumbered(lua_State* L, int number) {
    Run& run = RunOf(L);
    luaL_where(L, 1);
    lua_pushstring(L, run.caught.c_str());
    lua_concat(L, 2);
    run.number = number;
    Caught(run, number, lua_tostring(L, -1));
    run.numbered.swap(run.caught);
    return lua_error(L);
}

std::int16_t CheckInt16(lua_State* L, int arg) {
    int isInteger = 0;
    const lua_Integer value = lua_tointegerx(L, arg, &isInteger);
    if (isInteger == 0) {
        const lua_Number number = luaL_checknumber(L, arg);
        if (std::isnan(number) || std::floor(number) != number) {
            luaL_argerror(L, arg, "number has no integer representation");
        }
    }
    if (isInteger == 0 || value < INT16_MIN || value > INT16_MAX) {
        return static_cast<std::int16_t>(
            RaiseNumbered(L, Caught(RunOf(L), kErrOverflow, "Overflow")));
    }
    return static_cast<std::int16_t>(value);
}

std::int16_t CheckKey(lua_State* L, int arg) {
    const std::int16_t key = CheckInt16(L, arg);
    if (key < 1 || key > Console::kKeys) {
        return static_cast<std::int16_t>(
            RaiseNumbered(L, Caught(RunOf(L), kErrSubscriptOutOfRange, "Subscript out of range")));
    }
    return key;
}

int CallOriginal(lua_State* L) {
    const int arguments = lua_gettop(L);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, arguments, LUA_MULTRET);
    return lua_gettop(L);
}

}  // namespace lumidot::lua
