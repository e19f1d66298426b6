#pragma once
// Inside the layer: the values of one control between its widget and its record,
// shared by the dialogs (gwlogm) and the controls of plain windows (gwctl).

#include "winsupport/gwlogm.h"

#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QLineEdit;
class QWidget;

// The kind of a widget (DlgKind), 0 for a class the layer does not know.
int KINDOFWIDGET(const QWidget* w);
// Reads everything from a widget into a fresh record: texts, items, states, ranges,
// enabled and visible flags, sorted and multi-selection styles.
void READWIDGETFULL(QWidget* w, DlgControl& c);
// Reads only what the user can change: check states, edit texts, selections, positions.
void READWIDGETVALUES(QWidget* w, DlgControl& c);
// Writes the record into the widget, touching only what differs, without signals.
void WRITEWIDGET(QWidget* w, const DlgControl& c);

// Values of a record (see DlgIndex); DLG_FOCUS is the caller's business. False,
// record unchanged, for an index the kind does not support or a value out of range.
bool CTLSETINT(DlgControl& c, int index, int value);
bool CTLSETCHAR(DlgControl& c, int index, const std::string& text);
bool CTLGETINT(const DlgControl& c, int index, int& value);
bool CTLGETCHAR(const DlgControl& c, int index, std::string& text);
// Logical values: a check box or radio is true when checked (state 1), anything else
// when not 0.
bool CTLGETLOG(const DlgControl& c, int index, bool& value);
// Adds an item (in order for a sorted list); returns its number from 1, 0 on failure.
int CTLADDITEM(DlgControl& c, const std::string& text);
// Inserts item n (from 1) into a list or combo widget, without signals: spares
// WRITEWIDGET rebuilding a long list for one new item.
void INSERTITEM(QWidget* w, int n, const std::string& text);
// Replaces the items, clearing the selection.
bool CTLSETITEMS(DlgControl& c, const std::vector<std::string>& items);

// The line edit that holds the text of w (w itself, or the edit inside a combo box or
// spin box), null for none. Keys and focus go to w itself: Qt gives the inner edit
// its keys without events of its own.
QLineEdit* EDITOF(QWidget* w);
// Whether the keyboard focus is in w.
bool HASFOCUS(const QWidget* w);
// Sends a DLG_MSG_CHAR or DLG_MSG_KEYDOWN to w, or applies DLG_MSG_SETSEL,
// DLG_MSG_LIMITTEXT or DLG_MSG_SETTABSTOPS to it; false when its kind takes none such.
bool CTLMESSAGE(QWidget* w, DlgControl& c, int message, long long wparam, long long lparam);

// The shared font of controls.
const QFont& CONTROLFONT();

// Test seams, answered by gwseam.cpp. Each returns true when the seams are active, and
// then the queued answer (nullopt: cancel).
bool SEAMMESSAGE(const std::string& text, const std::string& caption, int kind, int& answer);
struct GwSeamFileDialog;
bool SEAMFILE(const GwSeamFileDialog& asked, std::optional<std::string>& path);
bool SEAMFOLDER(const std::string& title, std::optional<std::string>& folder);
struct GwSeamFontDialog;
struct GwFontChoice;
bool SEAMFONT(const GwSeamFontDialog& asked, std::optional<GwFontChoice>& font);
bool SEAMPRINT(std::optional<std::string>& pdfFile, const std::string& pdfName);
bool SEAMMODAL(std::function<void(DialogRecord&)>& action);

inline QString QS(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string SS(const QString& s) {
    return s.toStdString();
}
