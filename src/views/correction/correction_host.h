#pragma once

#include "model/int16.h"

namespace model {
class Order;
}
class Messenger;

// What the correction dialog needs of the window that hosts it, and no more.
class CorrectionHost {
public:
    virtual model::Order& Order() = 0;
    virtual Messenger& Messages() = 0;
    // The number of the grille being corrected, read afresh at every step;
    // raises the run-time error of a number outside the tables.
    virtual model::int16 CurrentGrille() const = 0;
    // The current grille was recomputed: show it everywhere.
    virtual void GrilleRecomputed() = 0;
    // The current grille's double belt was set or cleared.
    virtual void BeltChanged() = 0;

protected:
    ~CorrectionHost() = default;
};
