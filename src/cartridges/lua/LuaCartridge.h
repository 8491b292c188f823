#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "console/Cartridge.h"

namespace lumidot {

class Console;
class Host;

// A cartridge anyone can write: a folder holding cartridge.lua, with the
// pictures and sounds it uses beside it. Each insertion runs the script
// from the top in a fresh, sandboxed Lua state that gets the console's
// functions and nothing else (docs/cartridges.md).
class LuaCartridge : public Cartridge {
  public:
    LuaCartridge(Console& console, Host& host, std::string name, std::filesystem::path folder);

    std::string Name() const override { return name_; }
    // Runs the script until it returns, fails or the cartridge comes out.
    // A failure is reported, then the cartridge is taken out.
    void Run() override;
    // What the script last gave pointer_keys for the column, else 0.
    std::int16_t PointerKey(int column) const override;

  private:
    struct Ending {
        int number = 0;  // 0: the script returned or the cartridge came out
        std::string message;
    };

    // The window as it starts, whatever an earlier cartridge left.
    void DressWindow();
    Ending RunScript();
    void Report(const Ending& ending);

    Console& console_;
    Host& host_;
    std::string name_;
    std::filesystem::path folder_;
    std::array<std::int16_t, 16> pointerKeys_{};
};

}  // namespace lumidot
