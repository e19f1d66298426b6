#pragma once
// The Hand Diagram dialog: the deal of one board typed suit by suit into the four
// hands, picked with the card buttons or completed for the last hand. Modeless,
// made once and shown or hidden by View > Hand Diagrams.

struct DialogRecord;

// View > Hand Diagrams: shows the dialog, or hides it when it is shown. Nothing
// without an open tournament that keeps hand diagrams.
void ONVIEWHANDS();
// Whether the dialog is on screen.
bool HANDDIAGRAMSHOWN();
// The dialog's record while it exists (tests), else null.
DialogRecord* HANDDIAGRAMDIALOG();
// Follows the open tournament: hides the dialog when the tournament closes or keeps
// no hands, otherwise shows its boards afresh.
void HANDSTOURNAMENTCHANGED(bool open, bool hasHands);
// Destroys the dialog (program end).
void CLOSEHANDDIAGRAM();
// Whether the double-dummy solver is at work for the dialog.
bool HANDANALYSISRUNNING();
// Called on the solver's thread after each group of deals it solves, before it
// looks whether it was cancelled (tests hold it there); null normally.
extern void (*HandAnalysisStep)(int done, int total);
// Number of refusal beeps the suit fields have given (tests).
extern int HandDiagramBeeps;
