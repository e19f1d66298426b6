#pragma once
// The Custom Movement dialog: the movement of a new Custom tournament typed pair
// by pair, saved to and loaded from a movement file.

#include "core/tournament.h"

struct DialogRecord;

// Runs the dialog for a tournament of the shape `shape` (pairs, rounds, boards
// from the Tournament Properties dialog as they stand). Movement and SetEntries
// are allocated for one board set a round and written as the pairs are typed:
// a movement typed before for the same pairs and rounds is shown again, anything
// else starts as the Mitchell of the numbers. OK keeps the movement and returns
// true; Cancel puts back the movement and the pair display as they were when the
// dialog opened and returns false. The header is left as it was.
bool EDITMOVEMENT(const TournamentHeader& shape);

// Whether the custom movement held (if any) was made for `shape`'s pairs and
// rounds; true when none is held.
bool CUSTOMMOVEMENTFITS(const TournamentHeader& shape);

// Drops a custom movement typed for a tournament not yet created (nothing while
// a tournament is open).
void FORGETCUSTOMMOVEMENT();

// Callbacks of the dialog's controls.
void ONMOVEMENTEDIT(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTSCROLL(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTTAB(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTNEXT(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTOPEN(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTSAVE(DialogRecord& dlg, int id, int callbackType);
void ONTREATMENTCHANGE(DialogRecord& dlg, int id, int callbackType);
