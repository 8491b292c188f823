#pragma once

#include <cstdint>

#include "cartridges/zentrax/Gun.h"
#include "cartridges/zentrax/Settings.h"

namespace lumidot {

class Console;

namespace zentrax {

// The shooting phase of one game. Bars of `size` dots cross the upper half
// of the display one after the other, from the left or the right edge on a
// random row; the player has one shot at each, fired from one of three gun
// positions with keys 7, 8 and 9. Each run starts from fresh state.
//
// Everything is timed by comparing the clock with the time of the last
// step, and the loop hands the window its events on every turn, so keys
// and removal are seen while the game runs.
class Play {
  public:
    enum class Outcome { CartridgeOut, GameOver };

    Play(Console& console, Settings settings);

    // Plays from the display that "Go" cleared until the game's last target
    // has been hit or has gone (GameOver), or until the cartridge comes out.
    Outcome Run();

    // The targets hit in this game.
    std::int16_t Hits() const { return Score; }

  private:
    // The parts of a turn. Those that return a flag return true when the
    // game is over.
    // A fire key in the latch is taken, whether it may fire or not.
    void TakeFireKey();
    // The target's step when it is due, or the next target's spawn.
    bool TargetTurn();
    void Fire(GunSite position);
    void BeamStep();
    bool TargetStep();
    void Spawn();
    bool HitTest();
    bool Hit();

    // When the turn next has a step to take, on the platform's clock.
    double NextDue() const;
    bool Passed(double since, double interval);
    bool LastTargetLaunched() const;
    double Clock();

    Console& console_;
    const Settings settings_;

    // Which way a target crosses the display.
    enum class Direction { Right, Left };

    bool BeamActive = false;
    bool ShotReady = false;
    GunSite GunPosition = kGunMiddle;  // also the beam's way
    std::int16_t BeamColumn = 0;       // the cell the beam lights at its next step
    std::int16_t BeamRow = 0;
    double BeamTime = 0;
    bool TargetActive = false;
    std::int16_t TargetsLaunched = 0;
    std::int16_t Score = 0;
    Direction TargetDirection = Direction::Right;
    std::int16_t TargetRow = 0;
    std::int16_t TargetLength = 0;
    std::int16_t TargetHead = 0;  // the column the bar lights at its next step
    double TargetTime = 0;
    float TargetInterval = 0;
};

}  // namespace zentrax
}  // namespace lumidot
