#include "cartridges/lua/LuaRun.h"
#include "console/Console.h"

// An error the hook raises leaves Lua's hooks off until a pcall catches it.
// Lua code that runs before that could loop for ever unhooked: a message
// handler, called while the error is raised, and the __close methods of a
// coroutine the error killed, run when it is closed. Once the cartridge is
// out, or the script is being ended by an error it cannot keep, these
// guards skip both; the state closes without them.

namespace lumidot::lua {

namespace {

// Upvalue 1: the script's message handler.
int HandlerWhileIn(lua_State* L) {
    if (Ending(L)) {
        return 1;  // the error as it is
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, 1);
    return 1;
}

int ProtectedCall(lua_State* L) {
    luaL_checktype(L, 2, LUA_TFUNCTION);
    lua_pushvalue(L, 2);
    lua_pushcclosure(L, HandlerWhileIn, 1);
    lua_replace(L, 2);
    return CallOriginal(L);
}

int CloseCoroutine(lua_State* L) {
    if (Ending(L)) {
        KeepWindowAnswering(L);  // raises
    }
    return CallOriginal(L);
}

int CloseThread(lua_State* co, lua_State* L) {
#if LUA_VERSION_RELEASE_NUM >= 50406
    return lua_closethread(co, L);
#else
    static_cast<void>(L);
    return lua_resetthread(co);
#endif
}

// A call of a function coroutine.wrap made, as Lua's own does it, but with
// the out cartridge's guard before the dead coroutine is closed.
int ResumeWrapped(lua_State* L) {
    lua_State* co = lua_tothread(L, lua_upvalueindex(1));
    const int arguments = lua_gettop(L);
    if (!lua_checkstack(co, arguments)) {
        return luaL_error(L, "too many arguments to resume");
    }
    lua_xmove(L, co, arguments);
    int results = 0;
    int status = lua_resume(co, L, arguments, &results);
    if (status == LUA_OK || status == LUA_YIELD) {
        if (!lua_checkstack(L, results + 1)) {
            lua_pop(co, results);
            return luaL_error(L, "too many results to resume");
        }
        lua_xmove(co, L, results);
        return results;
    }
    if (Ending(L)) {
        KeepWindowAnswering(L);  // raises
    }
    status = lua_status(co);
    if (status != LUA_OK && status != LUA_YIELD) {
        status = CloseThread(co, L);
    }
    lua_xmove(co, L, 1);
    if (status != LUA_ERRMEM && lua_type(L, -1) == LUA_TSTRING) {
        luaL_where(L, 1);
        lua_insert(L, -2);
        lua_concat(L, 2);
    }
    return lua_error(L);
}

int Wrap(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    lua_State* co = lua_newthread(L);
    lua_pushvalue(L, 1);
    lua_xmove(L, co, 1);
    lua_pushcclosure(L, ResumeWrapped, 1);
    return 1;
}

}  // namespace

void GuardErrorPaths(lua_State* L, int globals, int coroutines) {
    lua_getfield(L, globals, "xpcall");
    lua_pushcclosure(L, ProtectedCall, 1);
    lua_setfield(L, globals, "xpcall");
    lua_getfield(L, coroutines, "close");
    lua_pushcclosure(L, CloseCoroutine, 1);
    lua_setfield(L, coroutines, "close");
    lua_pushcfunction(L, Wrap);
    lua_setfield(L, coroutines, "wrap");
}

}  // namespace lumidot::lua
