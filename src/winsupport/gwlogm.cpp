#include "winsupport/gwlogm.h"

#include "winsupport/gwcontrol.h"
#include "winsupport/gwmessage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

namespace {

std::map<int, DlgTemplateFactory>& Templates() {
    static std::map<int, DlgTemplateFactory> templates;
    return templates;
}
QWidget* MainOwner = nullptr;
// The modal dialogs shown, innermost last: the owner of the next one.
std::vector<DialogRecord*> ModalStack;

void Fire(DialogRecord& dlg, int i, int type);

// The window of a dialog: knows its record and the widget of every control.
class GwDialog : public QDialog {
  public:
    explicit GwDialog(QWidget* parent) : QDialog(parent) {}
    ~GwDialog() override { Detach(); }

    DialogRecord* rec = nullptr;
    std::vector<QWidget*> widgets; // parallel to rec->controls

    // Takes every value into the record and lets the record go.
    void Detach() {
        if (!rec) return;
        DialogRecord& d = *rec;
        rec = nullptr;
        for (size_t i = 0; i < widgets.size() && i < d.controls.size(); ++i)
            READWIDGETVALUES(widgets[i], d.controls[i]);
        if (d.window == this) d.window = nullptr;
    }
    // Escape, Enter without a default button, the close box: as the button `id`, or
    // ending with id when the dialog has no such button.
    void ActAs(int id) {
        DialogRecord& d = *rec;
        const int i = ID2INDEX(d, id);
        if (i >= 0 && d.controls[i].kind == DLG_PUSHBUTTON) {
            if (d.controls[i].enabled) Fire(d, i, DLG_CB_CLICK);
            return;
        }
        d.returnValue = id;
        DLGEXIT(d);
    }
    void reject() override { rec ? ActAs(2) : QDialog::reject(); }
    void accept() override { rec ? ActAs(1) : QDialog::accept(); }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
};

GwDialog* Win(const DialogRecord& dlg) {
    return static_cast<GwDialog*>(dlg.window);
}

QWidget* WidgetOf(const DialogRecord& dlg, int i) {
    return dlg.window ? Win(dlg)->widgets[size_t(i)] : nullptr;
}

void ReadAll(DialogRecord& dlg) {
    for (size_t i = 0; dlg.window && i < dlg.controls.size(); ++i)
        READWIDGETVALUES(Win(dlg)->widgets[i], dlg.controls[i]);
}

// Id of the control that has the focus, 0 when none.
int FocusId(const DialogRecord& dlg) {
    for (size_t i = 0; i < dlg.controls.size(); ++i)
        if (WidgetOf(dlg, int(i)) && HASFOCUS(WidgetOf(dlg, int(i)))) return dlg.controls[i].id;
    return 0;
}

// A control event: values into the record, then the control's procedure; a push
// button without one ends the dialog with its id (id 9 asks for help instead).
void Fire(DialogRecord& dlg, int i, int type) {
    if (!dlg.window) return;
    ReadAll(dlg);
    const DlgControl& c = dlg.controls[size_t(i)];
    const int id = c.id;
    if (DlgProc proc = c.procs[type]) {
        proc(dlg, id, type);
        return;
    }
    if (type != DLG_CB_CLICK || c.kind != DLG_PUSHBUTTON) return;
    if (id == 9 && dlg.helpProc) {
        dlg.helpProc(dlg, FocusId(dlg));
        return;
    }
    dlg.returnValue = id;
    DLGEXIT(dlg);
}

void GwDialog::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1 && rec && rec->helpProc) {
        rec->helpProc(*rec, FocusId(*rec));
        return;
    }
    QDialog::keyPressEvent(e);
}

bool GwDialog::eventFilter(QObject* o, QEvent* e) {
    const QEvent::Type type = e->type();
    if (!rec || (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut))
        return false;
    DialogRecord& d = *rec;
    for (size_t i = 0; i < widgets.size(); ++i) {
        if (o != widgets[i]) continue;
        if (type != QEvent::KeyPress) {
            const int cb = type == QEvent::FocusIn ? DLG_CB_SETFOCUS : DLG_CB_KILLFOCUS;
            if (d.controls[i].procs[cb]) Fire(d, int(i), cb);
            return false;
        }
        if (!d.controls[i].procs[DLG_CB_KEY]) return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        QLineEdit* edit = EDITOF(widgets[i]);
        if (edit && ke->matches(QKeySequence::Paste)) {
            // Pasted text goes through the key callback one character at a time.
            for (QChar ch : QApplication::clipboard()->text()) {
                d.key = {ch.toUpper().unicode(), 0, SS(QString(ch)), false};
                Fire(d, int(i), DLG_CB_KEY);
                if (!d.window) break;
                if (!d.key.refused) edit->insert(QString(ch));
            }
            return true;
        }
        d.key = {ke->key(), int(ke->modifiers()), SS(ke->text()), false};
        Fire(d, int(i), DLG_CB_KEY);
        return d.key.refused;
    }
    return false;
}

// The number of a numbered widget ("1003", or "_1003" as uic needs it), 0 for none.
int WidgetNumber(const QWidget* w) {
    QString name = w->objectName();
    if (name.startsWith('_')) name.remove(0, 1);
    bool ok = false;
    const int n = name.toInt(&ok);
    return ok && n > 0 && !name.startsWith('+') && !name.startsWith('-') ? n : 0;
}

// Builds template id into w; renames its numbered widgets to their numbers and
// returns them in template order.
std::vector<QWidget*> BuildTemplate(DlgTemplateFactory factory, QDialog* w) {
    factory(w);
    std::vector<QWidget*> numbered;
    for (QWidget* child : w->findChildren<QWidget*>()) {
        if (const int n = WidgetNumber(child)) {
            child->setObjectName(QString::number(n));
            numbered.push_back(child);
        }
    }
    return numbered;
}

int NaturalEvent(int kind) {
    switch (kind) {
    case DLG_PUSHBUTTON:
    case DLG_CHECKBOX:
    case DLG_RADIO:
        return DLG_CB_CLICK;
    case DLG_LISTBOX:
    case DLG_COMBOLIST:
        return DLG_CB_SELCHANGE;
    case DLG_EDIT:
        return DLG_CB_CHANGE;
    case DLG_COMBOBOX:
        return DLG_CB_SELCHANGE;
    case DLG_SCROLLBAR:
    case DLG_TRACKBAR:
    case DLG_UPDOWN:
        return DLG_CB_SCROLL;
    case DLG_TAB:
        return DLG_CB_TABCHANGE;
    default:
        return DLG_CB_DEFAULT;
    }
}

bool Produces(int kind, int type) {
    switch (type) {
    case DLG_CB_CLICK:
        return NaturalEvent(kind) == DLG_CB_CLICK;
    case DLG_CB_SELCHANGE:
        return NaturalEvent(kind) == DLG_CB_SELCHANGE;
    case DLG_CB_CHANGE:
        return kind == DLG_EDIT || kind == DLG_COMBOBOX;
    case DLG_CB_SCROLL:
        return NaturalEvent(kind) == DLG_CB_SCROLL;
    case DLG_CB_TABCHANGE:
        return kind == DLG_TAB;
    case DLG_CB_SETFOCUS:
    case DLG_CB_KILLFOCUS:
    case DLG_CB_KEY:
        return kind != DLG_STATIC && kind != DLG_GROUPBOX && kind != DLG_PROGRESS;
    default:
        return false;
    }
}

// Turns the user's actions on control i into callbacks.
void Connect(GwDialog* w, int i) {
    QWidget* x = w->widgets[size_t(i)];
    auto fire = [w, i](int type) {
        if (w->rec) Fire(*w->rec, i, type);
    };
    if (auto b = qobject_cast<QAbstractButton*>(x))
        QObject::connect(b, &QAbstractButton::clicked, w, [fire] { fire(DLG_CB_CLICK); });
    else if (auto le = qobject_cast<QLineEdit*>(x))
        QObject::connect(le, &QLineEdit::textEdited, w, [fire] { fire(DLG_CB_CHANGE); });
    else if (auto pe = qobject_cast<QPlainTextEdit*>(x))
        QObject::connect(pe, &QPlainTextEdit::textChanged, w, [fire] { fire(DLG_CB_CHANGE); });
    else if (auto lw = qobject_cast<QListWidget*>(x)) {
        lw->setSortingEnabled(false); // the record keeps the order
        QObject::connect(lw, &QListWidget::itemSelectionChanged, w,
                         [fire] { fire(DLG_CB_SELCHANGE); });
    } else if (auto cb = qobject_cast<QComboBox*>(x)) {
        cb->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(cb, &QComboBox::activated, w, [fire] { fire(DLG_CB_SELCHANGE); });
        if (cb->lineEdit())
            QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, w,
                             [fire] { fire(DLG_CB_CHANGE); });
    } else if (auto sl = qobject_cast<QAbstractSlider*>(x))
        QObject::connect(sl, &QAbstractSlider::valueChanged, w, [fire] { fire(DLG_CB_SCROLL); });
    else if (auto sb = qobject_cast<QSpinBox*>(x))
        QObject::connect(sb, &QSpinBox::valueChanged, w, [fire] { fire(DLG_CB_SCROLL); });
    else if (qobject_cast<QTabWidget*>(x) || qobject_cast<QTabBar*>(x)) {
        auto tab = [w, i, fire] {
            if (!w->rec) return;
            READWIDGETVALUES(w->widgets[size_t(i)], w->rec->controls[size_t(i)]);
            DLGTABSHOW(*w->rec, w->rec->controls[size_t(i)].id);
            fire(DLG_CB_TABCHANGE);
        };
        if (auto tw = qobject_cast<QTabWidget*>(x))
            QObject::connect(tw, &QTabWidget::currentChanged, w, tab);
        else
            QObject::connect(static_cast<QTabBar*>(x), &QTabBar::currentChanged, w, tab);
    }
    x->installEventFilter(w);
    if (QLineEdit* edit = EDITOF(x); edit && w->rec->controls[size_t(i)].procs[DLG_CB_KEY]) {
        // Only typed (and pasted) text may pass the key callback.
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setAcceptDrops(false);
    }
}

// Makes the window of dlg from its template, fills it from the record and connects
// its controls; null when the template is gone.
GwDialog* MakeWindow(DialogRecord& dlg, QWidget* owner) {
    auto it = Templates().find(dlg.templateId);
    if (it == Templates().end()) return nullptr;
    auto* w = new GwDialog(owner);
    const std::vector<QWidget*> numbered = BuildTemplate(it->second, w);
    w->widgets.assign(dlg.controls.size(), nullptr);
    for (QWidget* x : numbered) {
        const int i = ID2INDEX(dlg, WidgetNumber(x));
        if (i >= 0 && !w->widgets[size_t(i)]) w->widgets[size_t(i)] = x;
    }
    if (std::count(w->widgets.begin(), w->widgets.end(), nullptr)) {
        delete w;
        return nullptr;
    }
    w->setWindowTitle(QS(dlg.title));
    w->rec = &dlg;
    dlg.window = w;
    for (size_t i = 0; i < dlg.controls.size(); ++i) {
        WRITEWIDGET(w->widgets[i], dlg.controls[i]);
        Connect(w, int(i));
    }
    return w;
}

// Runs the dialog-level procedure on a new window; false when it closed the dialog.
bool RunInit(DialogRecord& dlg) {
    QDialog* w = dlg.window;
    if (dlg.dialogProc) {
        dlg.initialising = true;
        dlg.dialogProc(dlg, dlg.templateId, DLG_CB_INIT);
        dlg.initialising = false;
    }
    return dlg.window == w;
}

// Applies a change to the record of control id and, while shown and when write is set,
// to its widget; reading (write false) first takes the user's values from the widget.
template <class F> bool Apply(DialogRecord& dlg, int id, bool write, F change) {
    const int i = ID2INDEX(dlg, id);
    if (i < 0) return false;
    QWidget* w = WidgetOf(dlg, i);
    DlgControl& c = dlg.controls[size_t(i)];
    if (w) READWIDGETVALUES(w, c);
    if (!change(c)) return false;
    if (w && write) WRITEWIDGET(w, c);
    return true;
}

// A radio that became checked unchecks the others of its group.
void ClearGroup(DialogRecord& dlg, int id) {
    const DlgControl& c = dlg.controls[size_t(ID2INDEX(dlg, id))];
    if (c.kind != DLG_RADIO || c.state != 1) return;
    for (auto& other : dlg.controls)
        if (other.kind == DLG_RADIO && other.group == c.group && other.id != id) {
            other.state = 0;
            if (QWidget* w = WidgetOf(dlg, int(&other - dlg.controls.data())))
                WRITEWIDGET(w, other);
        }
}

bool SetFocus(DialogRecord& dlg, int id, bool focus) {
    const int i = ID2INDEX(dlg, id);
    QWidget* w = i >= 0 ? WidgetOf(dlg, i) : nullptr;
    if (!w) return false;
    if (focus)
        w->setFocus(Qt::OtherFocusReason);
    else if (HASFOCUS(w))
        dlg.window->setFocus(Qt::OtherFocusReason);
    return true;
}

bool GetFocus(DialogRecord& dlg, int id, bool& focus) {
    const int i = ID2INDEX(dlg, id);
    if (i < 0) return false;
    focus = WidgetOf(dlg, i) && HASFOCUS(WidgetOf(dlg, i));
    return true;
}

} // namespace

bool GwRegisterTemplate(int templateId, DlgTemplateFactory factory) {
    return Templates().emplace(templateId, factory).second;
}

void GwSetMainWindow(QWidget* window) {
    MainOwner = window;
}
QWidget* GwMainWindow() {
    return MainOwner;
}

bool DLGINIT(int templateId, DialogRecord& dlg) {
    dlg = DialogRecord();
    auto it = Templates().find(templateId);
    if (it == Templates().end()) return false;
    QDialog w;
    std::map<const QObject*, int> groups;
    for (QWidget* x : BuildTemplate(it->second, &w)) {
        DlgControl c;
        READWIDGETFULL(x, c);
        c.id = WidgetNumber(x);
        if (!c.kind) {
            GwMessageBox(nullptr,
                         "Control " + std::to_string(c.id) + " of dialog " +
                             std::to_string(templateId) + " is a " + x->metaObject()->className() +
                             ", which dialogs do not support.",
                         "Unsupported Dialog Control Style", GW_MB_ERROR);
            dlg = DialogRecord();
            return false;
        }
        if (c.kind == DLG_RADIO) {
            auto* b = static_cast<QAbstractButton*>(x);
            const QObject* key = b->group() ? static_cast<QObject*>(b->group()) : x->parent();
            c.group = groups.emplace(key, int(groups.size()) + 1).first->second;
        }
        if (ID2INDEX(dlg, c.id) < 0) dlg.controls.push_back(std::move(c));
    }
    dlg.templateId = templateId;
    dlg.title = SS(w.windowTitle());
    return true;
}

int ID2INDEX(const DialogRecord& dlg, int id) {
    for (size_t i = 0; i < dlg.controls.size(); ++i)
        if (dlg.controls[i].id == id) return int(i);
    return -1;
}

bool DLGSETINT(DialogRecord& dlg, int id, int value, int index) {
    if (index == DLG_FOCUS) return SetFocus(dlg, id, value != 0);
    if (!Apply(dlg, id, true, [&](DlgControl& c) { return CTLSETINT(c, index, value); }))
        return false;
    if (index == DLG_VALUE) ClearGroup(dlg, id);
    return true;
}

bool DLGSETLOG(DialogRecord& dlg, int id, bool value, int index) {
    return DLGSETINT(dlg, id, value ? 1 : 0, index);
}

bool DLGSETCHAR(DialogRecord& dlg, int id, const std::string& text, int index) {
    return Apply(dlg, id, true, [&](DlgControl& c) { return CTLSETCHAR(c, index, text); });
}

bool DLGGETINT(DialogRecord& dlg, int id, int& value, int index) {
    if (index == DLG_FOCUS) {
        bool focus = false;
        if (!GetFocus(dlg, id, focus)) return false;
        value = focus;
        return true;
    }
    return Apply(dlg, id, false, [&](DlgControl& c) { return CTLGETINT(c, index, value); });
}

bool DLGGETLOG(DialogRecord& dlg, int id, bool& value, int index) {
    if (index == DLG_FOCUS) return GetFocus(dlg, id, value);
    return Apply(dlg, id, false, [&](DlgControl& c) { return CTLGETLOG(c, index, value); });
}

bool DLGGETCHAR(DialogRecord& dlg, int id, std::string& text, int index) {
    return Apply(dlg, id, false, [&](DlgControl& c) { return CTLGETCHAR(c, index, text); });
}

bool DLGSETSUB(DialogRecord& dlg, int id, DlgProc proc, int callbackType) {
    if (dlg.templateId != 0 && id == dlg.templateId) {
        if (callbackType != DLG_CB_DEFAULT && callbackType != DLG_CB_INIT &&
            callbackType != DLG_CB_DESTROY)
            return false;
        dlg.dialogProc = proc;
        return true;
    }
    const int i = ID2INDEX(dlg, id);
    if (i < 0) return false;
    DlgControl& c = dlg.controls[size_t(i)];
    const int type = callbackType == DLG_CB_DEFAULT ? NaturalEvent(c.kind) : callbackType;
    if (!Produces(c.kind, type)) return false;
    c.procs[type] = proc;
    return true;
}

void DLGSETHELP(DialogRecord& dlg, DlgHelpProc proc) {
    dlg.helpProc = proc;
}

void DLGSETTITLE(DialogRecord& dlg, const std::string& title) {
    dlg.title = title;
    if (dlg.window) dlg.window->setWindowTitle(QS(title));
}

int DLGMODAL(DialogRecord& dlg, QWidget* parent) {
    if (dlg.templateId == 0 || dlg.window) return -1;
    QWidget* owner = parent;
    if (!owner && !ModalStack.empty()) owner = ModalStack.back()->window;
    if (!owner) owner = MainOwner;
    dlg.modal = true;
    GwDialog* w = MakeWindow(dlg, owner);
    if (!w) {
        dlg.modal = false;
        return -1;
    }
    ModalStack.push_back(&dlg); // dialogs opened from now on belong to this one
    if (!RunInit(dlg)) {        // the initialisation closed it already
        ModalStack.pop_back();
        delete w;
        dlg.modal = false;
        return dlg.returnValue;
    }
    std::function<void(DialogRecord&)> action;
    if (SEAMMODAL(action)) {
        QTimer::singleShot(0, w, [&dlg, w, action] {
            if (action) action(dlg);
            if (dlg.window != w) return;
            w->reject(); // as Cancel; if its callback keeps the dialog open, end it anyway
            if (dlg.window == w) {
                dlg.returnValue = 2;
                DLGEXIT(dlg);
            }
        });
    }
    w->exec();
    ModalStack.pop_back();
    if (dlg.window == w) DLGEXIT(dlg); // ended from outside (the owner went away)
    delete w;
    dlg.modal = false;
    return dlg.returnValue;
}

bool DLGMODELESS(DialogRecord& dlg, int show, QWidget* parent) {
    if (dlg.templateId == 0 || (dlg.window && dlg.modal)) return false;
    if (!dlg.window) {
        dlg.modal = false;
        if (!MakeWindow(dlg, parent ? parent : MainOwner)) return false;
        if (!RunInit(dlg)) return true;
    }
    dlg.window->setVisible(show != DLG_HIDE);
    return true;
}

void DLGSETRETURN(DialogRecord& dlg, int value) {
    dlg.returnValue = value;
}

bool DLGEXIT(DialogRecord& dlg) {
    if (!dlg.window) return false;
    GwDialog* w = Win(dlg);
    ReadAll(dlg);
    for (const auto& tab : dlg.tabChildren) {
        DialogRecord& child = *tab.child;
        if (!child.window) continue;
        ReadAll(child);
        if (child.dialogProc) child.dialogProc(child, child.templateId, DLG_CB_DESTROY);
        Win(child)->rec = nullptr;
        child.window = nullptr;
    }
    dlg.tabChildren.clear();
    if (dlg.dialogProc) dlg.dialogProc(dlg, dlg.templateId, DLG_CB_DESTROY);
    w->rec = nullptr;
    dlg.window = nullptr;
    if (dlg.modal) {
        w->done(dlg.returnValue); // DLGMODAL deletes the window
    } else {
        w->hide();
        w->deleteLater(); // it may be inside one of its own signals now
    }
    return true;
}

void DLGFLUSH(DialogRecord& dlg) {
    for (size_t i = 0; dlg.window && i < dlg.controls.size(); ++i)
        WRITEWIDGET(Win(dlg)->widgets[i], dlg.controls[i]);
}

void DLGUNINIT(DialogRecord& dlg) {
    DLGEXIT(dlg);
    dlg = DialogRecord();
}

bool DLGSENDCTRLMESSAGE(DialogRecord& dlg, int id, int message, long long wparam,
                        long long lparam) {
    const int i = ID2INDEX(dlg, id);
    QWidget* w = i >= 0 ? WidgetOf(dlg, i) : nullptr;
    if (!w) return false;
    DlgControl& c = dlg.controls[size_t(i)];
    if ((message == DLG_MSG_CHAR || message == DLG_MSG_KEYDOWN) && !Produces(c.kind, DLG_CB_KEY))
        return false;
    return CTLMESSAGE(w, c, message, wparam, lparam);
}

bool DLGGETTABCHILD(DialogRecord& dlg, int tabId, int page, DialogRecord& child) {
    const int i = ID2INDEX(dlg, tabId);
    QWidget* tab = i >= 0 ? WidgetOf(dlg, i) : nullptr;
    if (!tab || dlg.controls[size_t(i)].kind != DLG_TAB || child.templateId == 0 || child.window)
        return false;
    if (page < 1 || page > int(dlg.controls[size_t(i)].items.size())) return false;
    child.modal = false;
    GwDialog* w = MakeWindow(child, nullptr);
    if (!w) return false;
    if (auto tw = qobject_cast<QTabWidget*>(tab)) {
        QWidget* area = tw->widget(page - 1);
        if (!area->layout()) new QVBoxLayout(area);
        area->layout()->setContentsMargins(0, 0, 0, 0);
        w->setParent(area, Qt::Widget);
        area->layout()->addWidget(w);
    } else {
        w->setParent(dlg.window, Qt::Widget);
        w->move(tab->geometry().bottomLeft());
        w->resize(w->sizeHint());
    }
    dlg.tabChildren.push_back({tabId, page, &child});
    if (!RunInit(child)) return true;
    DLGTABSHOW(dlg, tabId);
    return true;
}

bool DLGTABSHOW(DialogRecord& dlg, int tabId) {
    const int i = ID2INDEX(dlg, tabId);
    if (i < 0 || dlg.controls[size_t(i)].kind != DLG_TAB || !dlg.window) return false;
    READWIDGETVALUES(WidgetOf(dlg, i), dlg.controls[size_t(i)]);
    const int selected = dlg.controls[size_t(i)].state;
    for (const auto& tab : dlg.tabChildren)
        if (tab.tabId == tabId && tab.child->window)
            tab.child->window->setVisible(tab.page == selected);
    return true;
}

bool CHANGENUMITEMS(DialogRecord& dlg, int id, int count) {
    return Apply(dlg, id, true, [&](DlgControl& c) { return CTLSETINT(c, DLG_COUNT, count); });
}

bool CHANGELISTBOXITEMS(DialogRecord& dlg, int id, const std::vector<std::string>& items) {
    return Apply(dlg, id, true,
                 [&](DlgControl& c) { return c.kind != DLG_TAB && CTLSETITEMS(c, items); });
}

bool CHANGETABITEMS(DialogRecord& dlg, int id, const std::vector<std::string>& labels) {
    return Apply(dlg, id, true, [&](DlgControl& c) {
        if (c.kind != DLG_TAB || !CTLSETITEMS(c, labels)) return false;
        c.state = labels.empty() ? 0 : 1; // a tab control always shows a page
        return true;
    });
}

int LISTADDSTRING(DialogRecord& dlg, int id, const std::string& text) {
    int n = 0;
    Apply(dlg, id, true, [&](DlgControl& c) {
        n = c.kind == DLG_TAB ? 0 : CTLADDITEM(c, text);
        if (n > 0 && dlg.window) INSERTITEM(WidgetOf(dlg, ID2INDEX(dlg, id)), n, text);
        return n > 0;
    });
    return n;
}
