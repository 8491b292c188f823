#pragma once

#include <lua.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <new>
#include <string>

#include "console/RuntimeError.h"

namespace lumidot {

class Console;
class Host;

namespace lua {

// What one run of a cartridge's script shares with the functions it calls:
// the console and the window, the cartridge's folder, its memory account,
// and the error that carries a console error number. It outlives the Lua
// state, so strings kept here are never skipped over by Lua's long jumps.
struct Run {
    Run(Console& console_, Host& host_, std::filesystem::path folder_,
        std::array<std::int16_t, 16>& pointerKeys_)
        : console(console_), host(host_), folder(std::move(folder_)), pointerKeys(pointerKeys_) {}

    Console& console;
    Host& host;
    std::filesystem::path folder;
    std::array<std::int16_t, 16>& pointerKeys;

    // Bytes the state holds, and the most it may hold.
    std::size_t used = 0;
    std::size_t cap = 64u << 20;
    // Whether the cap has refused an allocation: the script's memory error.
    bool refused = false;
    // When the window's events were last handled.
    double lastPump = 0.0;

    // The last error raised with a console number: its number and its
    // message as raised, which the final error ends with if it is that one.
    int number = 0;
    std::string numbered;
    // An error the script cannot keep (runaway recursion): raised again at
    // every instruction, like the removal, until the script has ended.
    const char* fatal = nullptr;
    // The text of a failure caught from the console or the window.
    std::string caught;
};

// The run the state (or one of its coroutines) belongs to.
Run& RunOf(lua_State* L);

// Installs the instruction hook, which makes this look every thousand
// instructions, in every coroutine the state makes too.
void InstallHook(lua_State* L);

// The hook's look, also made by every API function and every slice of a
// long loop in C: handles the window's events when 5 ms have passed since
// the last time, and ends the script when the cartridge is out.
void KeepWindowAnswering(lua_State* L);

// Whether the script is being ended: the cartridge is out or a fatal
// error was raised.
bool Ending(lua_State* L);

// Ends the script, the cartridge being out: from here on the hook raises
// the same error at every instruction. Never returns.
int RaiseOut(lua_State* L);

// Raises an error with a console error number, with the caller's file and
// line before the text in run.caught. Never returns.
int RaiseNumbered(lua_State* L, int number);

// Keeps the text of a failure in run.caught and gives back its number.
int Caught(Run& run, int number, const char* text) noexcept;

// Runs the action, which may throw but must not call Lua: no C++ exception
// crosses Lua's frames, and no Lua error skips a C++ destructor. A failure
// leaves its text in run.caught and gives its console error number (0:
// none); the caller raises it once its C++ objects are gone.
template <typename Action>
int Guarded(Run& run, Action&& action) {
    try {
        action();
        return 0;
    } catch (const RuntimeError& error) {
        return Caught(run, error.Number(), error.what());
    } catch (const std::bad_alloc&) {
        return Caught(run, kErrOutOfMemory, "not enough memory");
    } catch (const std::exception& error) {
        return Caught(run, kErrInternal, error.what());
    } catch (...) {
        return Caught(run, kErrInternal, "internal error");
    }
}

// The argument as a 16-bit integer: a number that has no integer value is
// a script error, one outside 16 bits error 6.
std::int16_t CheckInt16(lua_State* L, int arg);
// A keypad key, 1 to 12; any other is error 9.
std::int16_t CheckKey(lua_State* L, int arg);

// Register the cartridge's functions as globals: the console's (display,
// keys, time, chance) and the window's (pictures, keypad, sounds).
void OpenConsoleApi(lua_State* L);
void OpenWindowApi(lua_State* L);

// Opens the libraries a cartridge gets, without what reaches files,
// processes or bytecode, and with guards on the loops C runs unhooked.
// Runs as a protected call: lua_pushcfunction(L, OpenSandbox).
int OpenSandbox(lua_State* L);
// The guarded replacements of table.move, table.insert and table.remove.
void GuardTableLoops(lua_State* L, int table);
// The guarded replacements of xpcall, coroutine.close and coroutine.wrap.
void GuardErrorPaths(lua_State* L, int globals, int coroutines);
// The guarded replacements of string.find, match, gmatch and gsub.
void GuardPatterns(lua_State* L, int strings);

// Calls the function in upvalue 1 with the arguments and returns all it
// returns: the original a guard stands in front of.
int CallOriginal(lua_State* L);

}  // namespace lua
}  // namespace lumidot
