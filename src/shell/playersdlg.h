#pragma once
// The Players menu's dialogs over the players register.

struct DialogRecord;

// Players > Check names...: the players of the open tournament that are not
// registered, each registered (rating 0) by Add.
void ONCHECKNAMES();
// Players > Edit player list...: the register, ordered by name, rating or delta,
// with Add, Remove and Change Rating.
void ONEDITPLAYERLIST();

// Refill the lists of the two dialogs: Check Names (104) with the names the
// register does not know, Edit Player List (105) with the register in the order
// of the sort button pressed.
void UPDATENAMELIST(DialogRecord& dlg);
void UPDATEPLAYERLIST(DialogRecord& dlg);
