#include "cartridges/lua/LuaCartridge.h"

#include <cstdlib>
#include <memory>
#include <utility>

#include "cartridges/Host.h"
#include "cartridges/lua/CartridgeFiles.h"
#include "cartridges/lua/LuaRun.h"
#include "console/Console.h"

namespace lumidot {

namespace {

// A report shows no more of the script's message: an error can carry a
// string of megabytes.
constexpr std::size_t kMostMessageBytes = 1000;

// Lua's allocator, counting what the state holds against its cap.
void* Allocate(void* account, void* block, std::size_t oldSize, std::size_t newSize) {
    auto& run = *static_cast<lua::Run*>(account);
    const std::size_t old = block != nullptr ? oldSize : 0;
    if (newSize == 0) {
        std::free(block);
        run.used -= old;
        return nullptr;
    }
    if (newSize > old && newSize - old > run.cap - run.used) {
        run.refused = true;
        return nullptr;
    }
    void* moved = std::realloc(block, newSize);
    if (moved == nullptr) {
        // Lua counts on a block that shrinks staying where it is.
        return newSize <= old ? block : nullptr;
    }
    run.used = run.used - old + newSize;
    return moved;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return !end.empty() && text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The failed script's ending: its message, never converted in Lua (that
// could fail outside any protection), and the console number the error
// carries: 7 for memory, the API's number when this is the error it raised
// (a coroutine.wrap may have put a place in front), otherwise 51.
std::pair<int, std::string> Failure(lua_State* L, int status, const lua::Run& run) {
    std::string message = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1)
                                                         : std::string("(error object is a ") +
                                                               luaL_typename(L, -1) + " value)";
    if (message.size() > kMostMessageBytes) {
        message.resize(kMostMessageBytes);
        message += "...";
    }
    if (status == LUA_ERRMEM || (run.refused && EndsWith(message, "not enough memory"))) {
        return {kErrOutOfMemory, message};
    }
    return {run.number != 0 && EndsWith(message, run.numbered) ? run.number : kErrInternal,
            message};
}

}  // namespace

LuaCartridge::LuaCartridge(Console& console, Host& host, std::string name,
                           std::filesystem::path folder)
    : console_(console), host_(host), name_(std::move(name)), folder_(std::move(folder)) {}

std::int16_t LuaCartridge::PointerKey(int column) const {
    return column >= 1 && column <= 16 ? pointerKeys_[static_cast<std::size_t>(column - 1)] : 0;
}

void LuaCartridge::Run() {
    pointerKeys_.fill(0);
    const Ending ending = RunScript();
    if (!console_.CartridgeOn()) {
        // Out mid-script: what it drew after the removal goes too.
        console_.ClearDots();
        return;
    }
    if (ending.number != 0) {
        Report(ending);
    }
}

void LuaCartridge::DressWindow() {
    host_.SetOverlayPicture("");
    for (std::int16_t key = 1; key <= Console::kKeys; ++key) {
        host_.SetKeyVisible(key, true);
        host_.SetKeyCaption(key, "");
        host_.SetKeyPicture(key, "");
    }
    console_.ClearDots();
    // A key pressed with the slot empty does not count.
    console_.ClearKey();
}

LuaCartridge::Ending LuaCartridge::RunScript() {
    lua::Run run(console_, host_, folder_, pointerKeys_);
    std::string script;
    const int error = lua::Guarded(run, [&] {
        DressWindow();
        run.lastPump = console_.Seconds();
        script = lua::ReadScript(folder_);
    });
    if (error != 0) {
        return {error, run.caught};
    }
    // The state closes when this returns, however the script ended.
    const std::unique_ptr<lua_State, void (*)(lua_State*)> state(lua_newstate(Allocate, &run),
                                                                 lua_close);
    lua_State* L = state.get();
    if (L == nullptr) {
        return {kErrOutOfMemory, "not enough memory"};
    }
    *static_cast<lua::Run**>(lua_getextraspace(L)) = &run;
    lua::InstallHook(L);
    lua_pushcfunction(L, lua::OpenSandbox);
    int status = lua_pcall(L, 0, 0, 0);
    if (status == LUA_OK) {
        status = luaL_loadbufferx(L, script.data(), script.size(), "@cartridge.lua", "t");
    }
    std::string().swap(script);
    if (status == LUA_OK) {
        status = lua_pcall(L, 0, 0, 0);
    }
    if (status == LUA_OK) {
        return {};
    }
    auto [number, message] = Failure(L, status, run);
    return {number, std::move(message)};
}

void LuaCartridge::Report(const Ending& ending) {
    host_.ShowErrorBox("Error in " + name_ + ", cannot continue. Error number: " +
                           std::to_string(ending.number) + "\n" + ending.message,
                       "Whoops...");
    // Someone may have taken it out while the report was up.
    if (console_.CartridgeOn()) {
        host_.EjectCartridge();
    }
}

}  // namespace lumidot
