// What a patron does with an attraction: the choice of one for its needs, the arrival at the
// entry, the waiting line, going in and paying, the seat, the ride exit (tickets and games), the
// end of the ride and its rating. The attraction calls in through the patron's AttrPatron side.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/RubeNeeds.h"

#include <cstdint>

class AttrBase;
class AttrInfo;
class Rube1;

// A plain distance in world units beyond which the first pick of a choice is not taken.
constexpr float kRubeChoiceRange = 50000.0f;

// ---- the choice ----

// The need a choice serves: the first of eat .. potty above 0.5 and above every earlier one
// chosen (ties keep the earlier need); -1 for none. The ticket need takes no part.
int RubeVisitNeed(const RubeNeeds& needs);
// An attraction for the patron's needs among the tree's first 100 attractions, or null. On
// success the patron's route leads to its entry point (current point 0).
AttrBase* RubeVisitChoose(Rube1* patron);
// The same over a given list (in tree order).
AttrBase* RubeVisitChooseFrom(Rube1* patron, AttrBase* const* list, int count);

// ---- at the attraction ----

// The patron reached its target's entry point: out of service, short of tickets, or the line.
void RubeVisitArrive(Rube1* patron);
// Asks the target for a place in its line (state 4); a full line sends the patron to think.
void RubeVisitJoinLine(Rube1* patron);
// The attraction told a place (or ATTR_PLACE_BOARD) and the entry point.
void RubeVisitPlace(Rube1* patron, AttrBase* attr, int place, const VECTOR3* entry);
// State 4, each frame: the place offset along the line and the facing.
void RubeVisitLineStep(Rube1* patron, float seconds);
// The place offset of `place` in the line of `attr` (null: the personal offset only).
void RubeVisitLineOffset(const Rube1* patron, const AttrBase* attr, int place, float* x, float* z);
// Goes in (state 5): pays, reports its seat, takes the pose and faces the attraction.
void RubeVisitEnter(Rube1* patron, AttrBase* attr);
// A ride animator seats the patron: RUBE_MODE_SEATED with the seat's matrix as its own (the draw
// moves the character by its model's attachment offset).
void RubeVisitSit(Rube1* patron, AttrBase* attr, const Mat4* seatMatrix);
// Unloaded: aborted or satisfied and rated, then state 7.
void RubeVisitRideOver(Rube1* patron, AttrBase* attr);
// Leaving state 5 for any state: buys tickets at a seller, plays a game, RUBE_MODE_FREE. `attr` may
// be null (only the mode and offset are reset).
void RubeVisitExit(Rube1* patron, AttrBase* attr);

// ---- the arithmetic ----

// The clip and animation mode of a patron inside an attraction of type index `type`.
void RubeVisitPose(int type, int* anim, int* mode);
// Tickets a patron with `money` buys at `ticketCost` cents each: all it can pay up to 20
// tickets' worth, else an even 8..20 (one draw); 0 for a price of 0 or less.
int32_t RubeVisitTicketsToBuy(int32_t money, int32_t ticketCost);
// The share f (0 <= f < 1) of a won game for draw x in 0.01..1.00, or -1 for a loss. Odds of 0
// or less never win.
float RubeVisitGameWin(float x, int32_t winningOdds);
// The rating's middle s (0..1) for a visit of `info` at `price` tickets: 1 when free; 0 when the
// ratio is not a finite number.
float RubeVisitScore(const AttrInfo* info, int32_t price);
// The info icon of a rating r.
int RubeVisitRatingIcon(float r);
