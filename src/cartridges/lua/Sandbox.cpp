#include "cartridges/lua/LuaRun.h"

namespace lumidot::lua {

namespace {

// load, with text chunks only: precompiled bytecode is not checked by Lua
// and can break out of the state.
int LoadText(lua_State* L) {
    // An environment passed as nil is still an environment: keep the count.
    const int arguments = lua_gettop(L) >= 4 ? 4 : 3;
    lua_settop(L, arguments);
    lua_pushliteral(L, "t");
    lua_replace(L, 3);
    return CallOriginal(L);
}

// setmetatable, without finalizers: Lua runs a __gc with its hook turned
// off, so an endless loop there could never be stopped.
int SetMetatableWithoutFinalizer(lua_State* L) {
    if (lua_type(L, 2) == LUA_TTABLE) {
        lua_pushliteral(L, "__gc");
        if (lua_rawget(L, 2) != LUA_TNIL) {
            return luaL_error(L, "__gc metamethods are not available to cartridges");
        }
        lua_pop(L, 1);
    }
    return CallOriginal(L);
}

// string.rep, which copies nothing n times in C when both the string and
// the separator are empty; any other case is bounded by the memory cap.
int RepeatBounded(lua_State* L) {
    std::size_t length = 0;
    std::size_t separator = 0;
    luaL_checklstring(L, 1, &length);
    luaL_checkinteger(L, 2);
    luaL_optlstring(L, 3, "", &separator);
    if (length + separator == 0) {
        lua_pushliteral(L, "");
        return 1;
    }
    return CallOriginal(L);
}

// Puts a guard in front of t[name]: the closure gets the original as its
// upvalue.
void Guard(lua_State* L, int table, const char* name, lua_CFunction guard) {
    lua_getfield(L, table, name);
    lua_pushcclosure(L, guard, 1);
    lua_setfield(L, table, name);
}

void Remove(lua_State* L, int table, const char* name) {
    lua_pushnil(L);
    lua_setfield(L, table, name);
}

}  // namespace

int OpenSandbox(lua_State* L) {
    // No io, os, package (require), or debug: they are never opened.
    static const luaL_Reg kLibraries[] = {
        {LUA_GNAME, luaopen_base},       {LUA_STRLIBNAME, luaopen_string},
        {LUA_TABLIBNAME, luaopen_table}, {LUA_MATHLIBNAME, luaopen_math},
        {LUA_UTF8LIBNAME, luaopen_utf8}, {LUA_COLIBNAME, luaopen_coroutine}};
    for (const luaL_Reg& library : kLibraries) {
        luaL_requiref(L, library.name, library.func, 1);
        lua_pop(L, 1);
    }
    lua_pushglobaltable(L);
    const int globals = lua_gettop(L);
    Remove(L, globals, "dofile");
    Remove(L, globals, "loadfile");
    Guard(L, globals, "load", LoadText);
    Guard(L, globals, "setmetatable", SetMetatableWithoutFinalizer);

    // The strings' metatable indexes this same table, so a function taken
    // out here is gone from ("").name too.
    lua_getfield(L, globals, LUA_STRLIBNAME);
    const int strings = lua_gettop(L);
    Remove(L, strings, "dump");
    Guard(L, strings, "rep", RepeatBounded);
    GuardPatterns(L, strings);

    lua_getfield(L, globals, LUA_TABLIBNAME);
    GuardTableLoops(L, lua_gettop(L));
    lua_getfield(L, globals, LUA_COLIBNAME);
    GuardErrorPaths(L, globals, lua_gettop(L));

    OpenConsoleApi(L);
    OpenWindowApi(L);
    return 0;
}

}  // namespace lumidot::lua
