#include "cartridges/lua/LuaRun.h"

namespace lumidot::lua {

namespace {

// Elements moved between two looks at the window and the slot.
constexpr lua_Integer kSlice = 4096;

// t[to + i] = s[from + i] for i below count, upwards or downwards, as
// table.move does, but with the hook's look between slices: a range of
// billions stays removable.
void MoveElements(lua_State* L, int source, lua_Integer from, lua_Integer count, int target,
                  lua_Integer to, bool upwards) {
    for (lua_Integer done = 0; done < count; ++done) {
        if (done % kSlice == kSlice - 1) {
            KeepWindowAnswering(L);
        }
        const lua_Integer i = upwards ? done : count - 1 - done;
        lua_geti(L, source, from + i);
        lua_seti(L, target, to + i);
    }
}

int Move(lua_State* L) {
    const lua_Integer from = luaL_checkinteger(L, 2);
    const lua_Integer last = luaL_checkinteger(L, 3);
    const lua_Integer to = luaL_checkinteger(L, 4);
    const int target = lua_isnoneornil(L, 5) ? 1 : 5;
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_checktype(L, target, LUA_TTABLE);
    if (last >= from) {
        luaL_argcheck(L, from > 0 || last < LUA_MAXINTEGER + from, 3, "too many elements to move");
        const lua_Integer count = last - from + 1;
        luaL_argcheck(L, to <= LUA_MAXINTEGER - count + 1, 4, "destination wrap around");
        const bool upwards = to > last || to <= from || !lua_rawequal(L, 1, target);
        MoveElements(L, 1, from, count, target, to, upwards);
    }
    lua_pushvalue(L, target);
    return 1;
}

int Insert(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    const lua_Integer end = luaL_len(L, 1);
    luaL_argcheck(L, end < LUA_MAXINTEGER, 1, "table too long");
    lua_Integer at = end + 1;
    if (lua_gettop(L) == 3) {
        at = luaL_checkinteger(L, 2);
        luaL_argcheck(L, static_cast<lua_Unsigned>(at) - 1u < static_cast<lua_Unsigned>(end + 1), 2,
                      "position out of bounds");
        MoveElements(L, 1, at, end + 1 - at, 1, at + 1, false);
    } else if (lua_gettop(L) != 2) {
        return luaL_error(L, "wrong number of arguments to 'insert'");
    }
    lua_seti(L, 1, at);
    return 0;
}

int Remove(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    const lua_Integer size = luaL_len(L, 1);
    lua_Integer at = luaL_optinteger(L, 2, size);
    if (at != size) {
        luaL_argcheck(L, static_cast<lua_Unsigned>(at) - 1u <= static_cast<lua_Unsigned>(size), 2,
                      "position out of bounds");
    }
    lua_geti(L, 1, at);
    if (at < size) {
        MoveElements(L, 1, at + 1, size - at, 1, at, true);
        at = size;
    }
    lua_pushnil(L);
    lua_seti(L, 1, at);
    return 1;
}

}  // namespace

void GuardTableLoops(lua_State* L, int table) {
    static const luaL_Reg kGuarded[] = {{"move", Move}, {"insert", Insert}, {"remove", Remove}};
    for (const luaL_Reg& function : kGuarded) {
        lua_pushcfunction(L, function.func);
        lua_setfield(L, table, function.name);
    }
}

}  // namespace lumidot::lua
