#pragma once
// The Tournament Properties dialog: the shape of a new tournament (movement,
// pairs, rounds, boards, skip), and for every tournament its name, calculation
// and options.

struct DialogRecord;

// Runs the dialog. For a new tournament (none open) OK creates it from what was
// typed; for an open one OK stores the name, calculation and options. Both end
// with every board recalculated and the view redrawn. Returns true on OK, false
// when cancelled (nothing changed). A refused value keeps the dialog open with
// what was typed and a message that names the field.
bool TOURNAMENTPROPERTIES();

// Callbacks of the dialog's controls.
void ONCALCCHANGE(DialogRecord& dlg, int id, int callbackType);
void ONMOVEMENTCHANGE(DialogRecord& dlg, int id, int callbackType);
void ONNUMBERCHANGE(DialogRecord& dlg, int id, int callbackType);
void ONHOWELLCOMBOCHANGE(DialogRecord& dlg, int id, int callbackType);
void ONJUMPONOFF(DialogRecord& dlg, int id, int callbackType);
void ONRATINGONOFF(DialogRecord& dlg, int id, int callbackType);
void ONRECALCULATENOW(DialogRecord& dlg, int id, int callbackType);
