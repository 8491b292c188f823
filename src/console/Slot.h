#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumidot {

class Cartridge;
class Console;

// The cartridge slot: the one place that moves the cartridge in and out
// and decides when its game runs.
//
// A game runs inside the call that starts it and handles the window's
// events in its waits, so every other handler runs nested inside the game.
// A game therefore never starts nested inside something that has to finish
// first: inside one of the console's pumps (a refresh tick's, another
// game's) or inside a game that is still unwinding. Such an insertion waits
// and its game starts as soon as what is on the stack has returned. Games
// never nest.
class Slot {
  public:
    explicit Slot(Console& console) : console_(console) {}
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;

    // Adds a cartridge to the ones the slot knows, after the others.
    void Plug(Cartridge& cartridge) { cartridges_.push_back(&cartridge); }
    // Their names, in the order they were plugged in.
    std::vector<std::string> Names() const;
    // Which of them the next insertion runs, by its place in Names(): the
    // first one until another is chosen.
    void Select(std::size_t index);
    std::size_t Selected() const { return selected_; }

    // The key a click on display column 1 to 16 presses for the cartridge
    // that is in, or 0 when none is.
    std::int16_t PointerKey(int column) const;

    // Puts the cartridge in. Its game runs inside this call when nothing
    // else is on the stack, or as soon as that has returned.
    void Insert();
    // Takes the cartridge out and clears the display; a running game returns
    // at its next look, and an insertion still waiting is called off.
    void Remove();
    // The window is closing: the cartridge comes out and nothing starts
    // any more.
    void Close();
    // The window's final release: the cartridge is out, and the window's
    // last events get a moment.
    void Terminate();

    // Whether a game is running.
    bool Running() const { return running_; }

  private:
    void StartWhenFree();
    void RunGames();

    Console& console_;
    std::vector<Cartridge*> cartridges_;
    std::size_t selected_ = 0;
    // The one an insertion waits to run, then the one that is in.
    Cartridge* inserted_ = nullptr;
    bool running_ = false;
    bool waiting_ = false;
    bool deferred_ = false;
    bool closed_ = false;
};

}  // namespace lumidot
