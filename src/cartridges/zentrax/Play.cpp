#include "cartridges/zentrax/Play.h"

#include "cartridges/zentrax/Gun.h"
#include "console/Console.h"
#include "console/Int16.h"

namespace lumidot::zentrax {

namespace {

using int16::Add;
using int16::Floor;
using int16::Sub;

constexpr double kBeamInterval = 0.04;
constexpr float kSlowInterval = 0.1f;
constexpr float kFastInterval = 0.05f;
// The beam leaves the gun one row above it, from the gun's barrel.
constexpr std::int16_t kBeamStartRow = 13;
constexpr std::int16_t kBeamStartColumn[] = {4, 8, 13};
// The pause when the beam's next row is the target's, hit or not.
constexpr std::int16_t kHitTestPause = 40;
constexpr std::int16_t kSoundPause = 40;
// Keys 7, 8 and 9 fire from the left, the middle and the right.
constexpr std::int16_t kFireKeys[] = {7, 8, 9};
constexpr GunSite kSites[] = {kGunLeft, kGunMiddle, kGunRight};

}  // namespace

Play::Play(Console& console, Settings settings) : console_(console), settings_(settings) {}

Play::Outcome Play::Run() {
    BeamActive = false;
    TargetActive = false;
    TargetsLaunched = 0;
    Score = 0;
    // The gun waits in the middle; the first shot sets its position.
    DrawGun(console_, kGunMiddle);
    // The 5 of "Go" is still in the latch: play has no use for it.
    for (;;) {
        TakeFireKey();
        if (BeamActive && Passed(BeamTime, kBeamInterval)) {
            console_.StepDue(BeamTime + kBeamInterval);
            BeamStep();
            console_.PumpEvents();
        }
        if (TargetTurn() || HitTest()) {
            return Outcome::GameOver;
        }
        // Removal is looked at here only: a removal seen by an earlier pump
        // of this turn lets the rest of the turn run first. Until the next
        // step is due only an event can change anything, so the turn ends
        // waiting for one.
        console_.AwaitEvents(NextDue());
        if (!console_.CartridgeOn()) {
            return Outcome::CartridgeOut;
        }
    }
}

void Play::TakeFireKey() {
    for (std::size_t i = 0; i < 3; ++i) {
        if (console_.KeyPressed() == kFireKeys[i]) {
            Fire(kSites[i]);
            console_.ClearKey();
        }
    }
}

bool Play::TargetTurn() {
    if (!TargetActive) {
        Spawn();
        return false;
    }
    if (!Passed(TargetTime, TargetInterval)) {
        return false;
    }
    console_.StepDue(TargetTime + double{TargetInterval});
    if (TargetStep()) {
        return true;
    }
    console_.PumpEvents();
    return false;
}

void Play::Fire(GunSite position) {
    // One shot per target, and never while a beam flies: a refused key
    // leaves even the gun where it is.
    if (BeamActive || !ShotReady) {
        return;
    }
    BeamActive = true;
    BeamColumn = kBeamStartColumn[position - 1];
    BeamRow = kBeamStartRow;
    GunPosition = position;
    BeamTime = Clock();
    ShotReady = false;
    DrawGun(console_, position);
}

void Play::BeamStep() {
    // The beam is one dot climbing a row at a time: light the next cell,
    // then put out the one lit by the step before.
    if (BeamRow > 0) {
        console_.DotOn(BeamColumn, BeamRow);
    }
    const std::int16_t drift = GunPosition == kGunLeft ? 1 : GunPosition == kGunRight ? -1 : 0;
    BeamColumn = Add(BeamColumn, drift);
    BeamRow = Sub(BeamRow, 1);
    if (BeamRow < 12) {
        console_.DotOff(Sub(BeamColumn, Add(drift, drift)), Add(BeamRow, 2));
    }
    if (BeamRow < 0) {
        // The 14th step has put out the top dot. The shot stays used.
        BeamActive = false;
    }
    BeamTime = Clock();
}

bool Play::TargetStep() {
    // The bar lights its leading end, puts out its trailing end and moves
    // one column; it has gone 19 steps after its spawn.
    bool gone = false;
    if (TargetDirection == Direction::Right) {
        if (TargetHead > 0 && TargetHead < 17) {
            console_.DotOn(TargetHead, TargetRow);
        }
        const std::int16_t tail = Sub(TargetHead, TargetLength);
        if (tail >= 1 && tail <= 16) {
            console_.DotOff(tail, TargetRow);
        }
        TargetHead = Add(TargetHead, 1);
        gone = TargetHead == Add(TargetLength, 19);
    } else {
        if (TargetHead > 0) {
            console_.DotOn(TargetHead, TargetRow);
        }
        const std::int16_t tail = Add(TargetHead, TargetLength);
        if (tail >= 1 && tail <= 16) {
            console_.DotOff(tail, TargetRow);
        }
        TargetHead = Sub(TargetHead, 1);
        gone = TargetHead == Sub(-2, TargetLength);
    }
    if (gone) {
        TargetActive = false;
        if (LastTargetLaunched()) {
            return true;
        }
    }
    TargetTime = Clock();
    return false;
}

void Play::Spawn() {
    ShotReady = true;
    // The draws come in this order: length, interval, side, row. Products
    // are taken in double precision so that a draw just below 1 cannot
    // round up to a length of 5 or a ninth row.
    TargetLength = settings_.size;
    if (settings_.size == 0) {
        TargetLength = Floor(double{console_.Random()} * 4 + 1);
    }
    if (settings_.speed == 1) {
        TargetInterval = kSlowInterval;
    } else if (settings_.speed == 2) {
        TargetInterval = kFastInterval;
    } else if (settings_.speed == 0) {
        TargetInterval =
            Floor(double{console_.Random()} + 0.5) == 0 ? kSlowInterval : kFastInterval;
    }
    TargetActive = true;
    TargetsLaunched = Add(TargetsLaunched, 1);
    TargetTime = Clock();
    if (BeamActive) {
        // A new target takes the display from a beam still in flight.
        BeamActive = false;
        console_.ClearDots();
        DrawGun(console_, GunPosition);
    }
    const bool fromLeft = Floor(double{console_.Random()} + 0.5) == 0;
    TargetRow = Floor(double{console_.Random()} * 8 + 1);
    // The bar enters whole at its edge, lit from the inside out.
    TargetDirection = fromLeft ? Direction::Right : Direction::Left;
    TargetHead = fromLeft ? TargetLength : Sub(17, TargetLength);
    const std::int16_t inner = fromLeft ? 4 : 13;
    const std::int16_t outward = fromLeft ? -1 : 1;
    for (std::int16_t i = 0; i < 4; ++i) {
        if (TargetLength > 3 - i) {
            console_.DotOn(Add(inner, static_cast<std::int16_t>(outward * i)), TargetRow);
        }
    }
}

bool Play::HitTest() {
    if (!TargetActive || !BeamActive || TargetRow != BeamRow) {
        return false;
    }
    console_.Pause(kHitTestPause);
    // A hit when the beam's next cell lies where the bar will be after its
    // next step.
    const bool hit = TargetDirection == Direction::Right
                         ? Sub(TargetHead, TargetLength) < BeamColumn && BeamColumn <= TargetHead
                         : TargetHead <= BeamColumn && BeamColumn < Add(TargetHead, TargetLength);
    return hit && Hit();
}

bool Play::Hit() {
    BeamActive = false;
    TargetActive = false;
    Score = Add(Score, 1);
    console_.ClearDots();
    DrawGun(console_, GunPosition);
    console_.Pause(kSoundPause);
    console_.PlaySample("zx_hit.wav");
    return LastTargetLaunched();
}

double Play::NextDue() const {
    if (!TargetActive) {
        // The next turn spawns a target.
        return 0.0;
    }
    const double target = TargetTime + double{TargetInterval};
    const double beam = BeamTime + kBeamInterval;
    return BeamActive && beam < target ? beam : target;
}

bool Play::Passed(double since, double interval) {
    return Clock() > since + interval;
}

bool Play::LastTargetLaunched() const {
    return TargetsLaunched == int16::Mul(10, settings_.targets);
}

double Play::Clock() {
    return console_.Seconds();
}

}  // namespace lumidot::zentrax
