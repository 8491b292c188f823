#include <string>
#include <string_view>

#include "cartridges/Host.h"
#include "cartridges/lua/CartridgeFiles.h"
#include "cartridges/lua/LuaRun.h"
#include "console/Console.h"

namespace lumidot::lua {

namespace {

std::string_view CheckText(lua_State* L, int arg) {
    std::size_t length = 0;
    const char* text = luaL_checklstring(L, arg, &length);
    return {text, length};
}

// A picture of the cartridge's: one outside its folder is as missing as
// one that is not there.
std::string PicturePath(const Run& run, std::string_view name) {
    std::string path = CartridgeFile(run.folder, name);
    if (path.empty()) {
        throw RuntimeError(kErrFileNotFound, "File not found: " + std::string(name));
    }
    return path;
}

// Looks at the window and the slot, then runs the action on the window;
// a failure (a missing picture, say) is raised with its number.
template <typename Action>
int OnWindow(lua_State* L, Action&& action) {
    KeepWindowAnswering(L);
    Run& run = RunOf(L);
    const int error = Guarded(run, [&] { action(run); });
    return error != 0 ? RaiseNumbered(L, error) : 0;
}

int Sound(lua_State* L) {
    const std::string_view name = CheckText(L, 1);
    // A file that is refused plays the chime, as one that cannot be played.
    return OnWindow(L, [name](Run& run) { run.console.PlayFile(CartridgeFile(run.folder, name)); });
}

int Overlay(lua_State* L) {
    const bool none = lua_isnoneornil(L, 1);
    const std::string_view name = none ? std::string_view() : CheckText(L, 1);
    return OnWindow(L, [none, name](Run& run) {
        run.host.SetOverlayPicture(none ? std::string() : PicturePath(run, name));
    });
}

int KeyCaption(lua_State* L) {
    const std::int16_t key = CheckKey(L, 1);
    const std::string_view caption = CheckText(L, 2);
    return OnWindow(L, [=](Run& run) { run.host.SetKeyCaption(key, std::string(caption)); });
}

int KeyPicture(lua_State* L) {
    const std::int16_t key = CheckKey(L, 1);
    const bool none = lua_isnoneornil(L, 2);
    const std::string_view name = none ? std::string_view() : CheckText(L, 2);
    return OnWindow(L, [=](Run& run) {
        run.host.SetKeyPicture(key, none ? std::string() : PicturePath(run, name));
    });
}

int KeyVisible(lua_State* L) {
    const std::int16_t key = CheckKey(L, 1);
    luaL_checkany(L, 2);
    const bool shown = lua_toboolean(L, 2) != 0;
    return OnWindow(L, [=](Run& run) { run.host.SetKeyVisible(key, shown); });
}

int KeyName(lua_State* L) {
    const std::int16_t key = CheckKey(L, 1);
    const std::string_view name = CheckText(L, 2);
    return OnWindow(L, [=](Run& run) { run.host.SetKeyName(key, std::string(name)); });
}

int PointerKeys(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    std::array<std::int16_t, 16> keys{};
    for (int column = 1; column <= 16; ++column) {
        lua_geti(L, 1, column);
        int isInteger = 0;
        const lua_Integer key = lua_tointegerx(L, -1, &isInteger);
        if (isInteger == 0) {
            return luaL_error(L, "pointer_keys: column %d holds no key number", column);
        }
        if (key < 0 || key > Console::kKeys) {
            Caught(RunOf(L), kErrSubscriptOutOfRange, "Subscript out of range");
            return RaiseNumbered(L, kErrSubscriptOutOfRange);
        }
        keys[static_cast<std::size_t>(column - 1)] = static_cast<std::int16_t>(key);
        lua_pop(L, 1);
    }
    return OnWindow(L, [&keys](Run& run) { run.pointerKeys = keys; });
}

}  // namespace

void OpenWindowApi(lua_State* L) {
    static const luaL_Reg kFunctions[] = {{"sound", Sound},
                                          {"overlay", Overlay},
                                          {"key_caption", KeyCaption},
                                          {"key_picture", KeyPicture},
                                          {"key_visible", KeyVisible},
                                          {"key_name", KeyName},
                                          {"pointer_keys", PointerKeys}};
    for (const luaL_Reg& function : kFunctions) {
        lua_register(L, function.name, function.func);
    }
}

}  // namespace lumidot::lua
