#pragma once
// The program's help: pages in Serbian and English that ship inside the program,
// shown in a help window of its own, the topic of each view and dialog, and the
// About box.

#include <string>

class QWidget;

enum HelpLanguage { HELP_SRPSKI = 0, HELP_ENGLISH = 1 };

// Folder of the help pages of the chosen language (":/help/sr/" or ":/help/en/").
extern std::string HelpFile;
extern int HelpLanguageChosen;
// The hand-diagram window, when there is one: F1 there shows its own topic.
extern QWidget* HandDiagramWindow;

constexpr int HELP_DEFAULT_TOPIC = 0; // the contents page
constexpr int HELP_NO_TOPIC = -1;

// Chooses the language of the help pages and checks its menu command.
void SETHELPLANGUAGE(int language);

// Topic that F1 shows: the contents page with no tournament open, the hand
// diagrams when `inHandWindow`, otherwise the topic of the view shown
// (ViewMode, SortByPlacement); HELP_NO_TOPIC for a view without one.
int HELPCONTEXTTOPIC(bool inHandWindow);

// Topic of a dialog's help button by the dialog's id; HELP_NO_TOPIC for others.
int DIALOGHELPTOPIC(int dialogId);

// The address of a topic's page in the chosen language.
std::string HELPTOPICURL(int topic);

// Shows a topic (HELP_DEFAULT_TOPIC: the contents) in the help window, creating
// the window when needed; HELP_NO_TOPIC shows nothing.
void SHOWHELPTOPIC(int topic);
// The topic the help window shows last (HELP_NO_TOPIC when none); for tests.
extern int HelpTopicShown;

// Closes and forgets the help window.
void CLOSEHELP();

// Menu commands.
void ONHELPCONTENTS();
void ONHELPCONTEXT();
void ONDIALOGHELP(int dialogId);
void ONHELPABOUT();
void ONHELPSRPSKI();
void ONHELPENGLISH();
