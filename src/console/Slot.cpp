#include "console/Slot.h"

#include "console/Cartridge.h"
#include "console/Console.h"

namespace lumidot {

std::vector<std::string> Slot::Names() const {
    std::vector<std::string> names;
    for (const Cartridge* cartridge : cartridges_) {
        names.push_back(cartridge->Name());
    }
    return names;
}

void Slot::Select(std::size_t index) {
    if (index < cartridges_.size()) {
        selected_ = index;
    }
}

std::int16_t Slot::PointerKey(int column) const {
    return console_.CartridgeOn() && inserted_ != nullptr ? inserted_->PointerKey(column) : 0;
}

void Slot::Insert() {
    if (closed_ || selected_ >= cartridges_.size() || console_.CartridgeOn()) {
        return;
    }
    inserted_ = cartridges_[selected_];
    waiting_ = true;
    StartWhenFree();
}

void Slot::StartWhenFree() {
    if (!waiting_ || closed_ || running_) {
        // A running game's slot starts the next one once it has returned.
        return;
    }
    if (console_.PumpDepth() > 0) {
        // Inside a pump: a game started here would run inside the handler
        // that pumps, a refresh tick say, and hold it up for the whole game.
        if (!deferred_) {
            deferred_ = true;
            console_.Defer([this] {
                deferred_ = false;
                StartWhenFree();
            });
        }
        return;
    }
    RunGames();
}

void Slot::RunGames() {
    struct Running {
        bool& running;
        explicit Running(bool& flag) : running(flag) { running = true; }
        ~Running() { running = false; }
    } guard(running_);
    // An insertion made while a game unwinds (out and in again within one
    // of its waits) starts here once that game has returned.
    while (waiting_ && !closed_) {
        waiting_ = false;
        console_.SetCartridgeOn(true);
        inserted_->Run();
    }
}

void Slot::Remove() {
    waiting_ = false;
    console_.SetCartridgeOn(false);
    console_.ClearDots();
}

void Slot::Close() {
    closed_ = true;
    waiting_ = false;
    console_.SetCartridgeOn(false);
}

void Slot::Terminate() {
    Close();
    console_.Pause(100);
}

}  // namespace lumidot
