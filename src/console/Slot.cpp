#include "console/Slot.h"

#include "console/Cartridge.h"
#include "console/Console.h"

namespace lumidot {

std::string Slot::CartridgeName() const {
    return cartridge_ != nullptr ? cartridge_->Name() : std::string();
}

void Slot::Insert() {
    if (closed_ || cartridge_ == nullptr || console_.CartridgeOn()) {
        return;
    }
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
        cartridge_->Run();
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
