#include "winsupport/gwctl.h"

#include "winsupport/gwcontrol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

namespace {

// Every control of the layer, in creation order.
std::vector<GwCtlRecord>& Table() {
    static std::vector<GwCtlRecord> table;
    return table;
}

// Moves collected between GwBeginCtlMove and GwEndCtlMove.
struct PendingMove {
    QPointer<QWidget> w;
    QRect r;
    bool visible;
};
bool Batching = false;
std::vector<PendingMove> Pending;

// The record of the control whose window is w (exactly), null when none.
GwCtlRecord* Find(const QWidget* w) {
    for (auto& r : Table())
        if (w && r.hwnd == w) return &r;
    return nullptr;
}

// The record of the control that w belongs to: the control itself or the inner edit
// of a combo box.
GwCtlRecord* FindOwner(const QObject* o) {
    for (auto& r : Table())
        if (o && (r.hwnd == o || (r.kind == GWCTL_COMBOBOX && EDITOF(r.hwnd) == o))) return &r;
    return nullptr;
}

int DlgKindOf(int kind) {
    static const int kinds[] = {
        0,         DLG_STATIC,    DLG_GROUPBOX, DLG_PUSHBUTTON, DLG_CHECKBOX,
        DLG_RADIO, DLG_EDIT,      DLG_LISTBOX,  DLG_COMBOLIST,  DLG_PUSHBUTTON,
        DLG_TAB,   DLG_SCROLLBAR, DLG_COMBOBOX};
    return kind >= GWCTL_LABEL && kind <= GWCTL_COMBOBOX ? kinds[kind] : 0;
}

// Calls the general callback of the control of w with a copy of its record.
void FireGeneral(QWidget* w) {
    GwCtlRecord* r = Find(w);
    if (!r || !r->proc) return;
    const GwCtlRecord copy = *r;
    copy.proc(copy, GwCtlEvent{});
}

// Turns keys and focus changes into the further callbacks.
class CtlFilter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type type = e->type();
        if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut)
            return false;
        GwCtlRecord* r = Find(qobject_cast<QWidget*>(o));
        if (!r) return false;
        const GwCtlRecord copy = *r;
        GwCtlEvent ev;
        if (type == QEvent::KeyPress) {
            if (!copy.keyProc) return false;
            auto* ke = static_cast<QKeyEvent*>(e);
            ev.sub = GWSUB_KEY;
            ev.key = ke->key();
            ev.modifiers = int(ke->modifiers());
            ev.text = SS(ke->text());
            return copy.keyProc(copy, ev);
        }
        if (!copy.focusProc) return false;
        ev.sub = GWSUB_FOCUS;
        ev.focusIn = type == QEvent::FocusIn;
        copy.focusProc(copy, ev);
        return false;
    }
};

CtlFilter* Filter() {
    static QPointer<CtlFilter> filter;
    if (!filter) filter = new CtlFilter(qApp);
    return filter;
}

QColor Colour(int v) {
    return QColor(v & 255, v >> 8 & 255, v >> 16 & 255);
}

// A read-modify-write of the values of control ctl; write false only reads.
template <class F> bool Apply(QWidget* ctl, bool write, F change) {
    GwCtlRecord* r = Find(ctl);
    if (!r) return false;
    DlgControl c;
    READWIDGETFULL(r->hwnd, c);
    c.kind = DlgKindOf(r->kind);
    if (!change(c)) return false;
    if (write) WRITEWIDGET(r->hwnd, c);
    return true;
}

QWidget* Create(QWidget* parent, int kind, int style) {
    const Qt::Alignment align = style & GWS_RIGHT    ? Qt::AlignRight
                                : style & GWS_CENTER ? Qt::AlignHCenter
                                                     : Qt::AlignLeft;
    switch (kind) {
    case GWCTL_LABEL: {
        auto* l = new QLabel(parent);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    }
    case GWCTL_GROUPBOX:
        return new QGroupBox(parent);
    case GWCTL_BUTTON: {
        auto* b = new QPushButton(parent);
        b->setAutoDefault(false);
        return b;
    }
    case GWCTL_CHECKBOX:
        return new QCheckBox(parent);
    case GWCTL_RADIO:
        return new QRadioButton(parent);
    case GWCTL_EDIT: {
        auto* e = new QLineEdit(parent);
        e->setAlignment(align | Qt::AlignVCenter);
        e->setReadOnly(style & GWS_READONLY);
        if (style & GWS_NUMBER)
            e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
        return e;
    }
    case GWCTL_LISTBOX:
        return new QListWidget(parent);
    case GWCTL_DROPLIST:
        return new QComboBox(parent);
    case GWCTL_CLICKBUTTON: {
        auto* b = new QToolButton(parent);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    }
    case GWCTL_TAB:
        return new QTabBar(parent);
    case GWCTL_SCROLLBAR:
        return new QScrollBar(style & GWS_VERTICAL ? Qt::Vertical : Qt::Horizontal, parent);
    case GWCTL_COMBOBOX: {
        auto* cb = new QComboBox(parent);
        cb->setEditable(true);
        cb->setInsertPolicy(QComboBox::NoInsert);
        return cb;
    }
    default:
        return nullptr;
    }
}

void Connect(QWidget* w) {
    auto general = [w] { FireGeneral(w); };
    if (auto b = qobject_cast<QAbstractButton*>(w))
        QObject::connect(b, &QAbstractButton::clicked, w, general);
    else if (auto le = qobject_cast<QLineEdit*>(w))
        QObject::connect(le, &QLineEdit::textEdited, w, general);
    else if (auto lw = qobject_cast<QListWidget*>(w))
        QObject::connect(lw, &QListWidget::itemSelectionChanged, w, general);
    else if (auto cb = qobject_cast<QComboBox*>(w)) {
        QObject::connect(cb, &QComboBox::activated, w, general);
        if (cb->lineEdit()) QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, w, general);
    } else if (auto tb = qobject_cast<QTabBar*>(w))
        QObject::connect(tb, &QTabBar::currentChanged, w, general);
    else if (auto sb = qobject_cast<QScrollBar*>(w))
        QObject::connect(sb, &QScrollBar::valueChanged, w, general);
    w->installEventFilter(Filter());
    // A window deleted with its parent leaves the table.
    QObject::connect(w, &QObject::destroyed, [w] {
        std::erase_if(Table(), [w](const GwCtlRecord& r) { return r.hwnd == w; });
    });
}

} // namespace

QWidget* GwCtlInit(QWidget* parent, int kind, int style, GwCtlRecord& ctl) {
    if (!parent) return nullptr;
    QWidget* w = Create(parent, kind, style);
    if (!w) return nullptr;
    w->setObjectName(QString::number(ctl.id));
    w->setFont(CONTROLFONT());
    w->setProperty("gwSorted", bool(style & GWS_SORT));
    if (ctl.textColor >= 0 || ctl.backColor >= 0) {
        QPalette p = w->palette();
        if (ctl.textColor >= 0)
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                p.setColor(role, Colour(ctl.textColor));
        if (ctl.backColor >= 0) {
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
                p.setColor(role, Colour(ctl.backColor));
            w->setAutoFillBackground(true);
        }
        w->setPalette(p);
    }
    ctl.kind = kind;
    ctl.hwnd = w;
    Table().push_back(ctl);
    Connect(w);
    if (!(style & GWS_HIDDEN)) w->show();
    return w;
}

bool GwCtlSetChar(QWidget* ctl, const std::string& text, int index) {
    return Apply(ctl, true, [&](DlgControl& c) { return CTLSETCHAR(c, index, text); });
}

bool GwCtlGetChar(QWidget* ctl, std::string& text, int index) {
    return Apply(ctl, false, [&](DlgControl& c) { return CTLGETCHAR(c, index, text); });
}

bool GwCtlSetInt(QWidget* ctl, int value, int index) {
    if (index == DLG_FOCUS) return GwCtlSetLog(ctl, value != 0, index);
    return Apply(ctl, true, [&](DlgControl& c) { return CTLSETINT(c, index, value); });
}

bool GwCtlGetInt(QWidget* ctl, int& value, int index) {
    if (index == DLG_FOCUS) {
        bool focus = false;
        if (!GwCtlGetLog(ctl, focus, index)) return false;
        value = focus;
        return true;
    }
    return Apply(ctl, false, [&](DlgControl& c) { return CTLGETINT(c, index, value); });
}

bool GwCtlSetLog(QWidget* ctl, bool value, int index) {
    if (index == DLG_FOCUS) {
        if (!Find(ctl)) return false;
        if (value)
            ctl->setFocus(Qt::OtherFocusReason);
        else if (HASFOCUS(ctl))
            ctl->clearFocus();
        return true;
    }
    return GwCtlSetInt(ctl, value ? 1 : 0, index);
}

bool GwCtlGetLog(QWidget* ctl, bool& value, int index) {
    if (index == DLG_FOCUS) {
        if (!Find(ctl)) return false;
        value = HASFOCUS(ctl);
        return true;
    }
    return Apply(ctl, false, [&](DlgControl& c) { return CTLGETLOG(c, index, value); });
}

int CONTROLADDSTRING(QWidget* ctl, const std::string& text) {
    int n = 0;
    Apply(ctl, true, [&](DlgControl& c) {
        n = c.kind == DLG_TAB ? 0 : CTLADDITEM(c, text);
        if (n > 0) INSERTITEM(ctl, n, text);
        return n > 0;
    });
    return n;
}

bool GwCtlSetSub(QWidget* ctl, GwCtlProc proc, int index) {
    GwCtlRecord* r = Find(ctl);
    if (!r) return false;
    switch (index) {
    case GWSUB_GENERAL:
        r->proc = proc;
        return true;
    case GWSUB_KEY:
        r->keyProc = proc;
        return true;
    case GWSUB_FOCUS:
        r->focusProc = proc;
        return true;
    default:
        return false;
    }
}

GwCtlProc GwCtlGetSub(QWidget* ctl, int index) {
    const GwCtlRecord* r = Find(ctl);
    if (!r) return nullptr;
    switch (index) {
    case GWSUB_GENERAL:
        return r->proc;
    case GWSUB_KEY:
        return r->keyProc;
    case GWSUB_FOCUS:
        return r->focusProc;
    default:
        return nullptr;
    }
}

bool GwCtlMove(QWidget* ctl, int x, int y, int width, int height, bool visible) {
    if (!Find(ctl)) return false;
    if (Batching)
        Pending.push_back({ctl, QRect(x, y, width, height), visible});
    else {
        ctl->setGeometry(x, y, width, height);
        ctl->setVisible(visible);
    }
    return true;
}

void GwBeginCtlMove() {
    Batching = true;
}

void GwEndCtlMove() {
    Batching = false;
    for (const auto& m : Pending)
        if (m.w) {
            m.w->setGeometry(m.r);
            m.w->setVisible(m.visible);
        }
    Pending.clear();
}

const GwCtlRecord* GwCtlByHandle(const QWidget* window) {
    return FindOwner(window);
}

int IndexByHwnd(const QWidget* window) {
    const GwCtlRecord* r = FindOwner(window);
    return r ? int(r - Table().data()) + 1 : 0;
}

QWidget* GwCtlGetEdit(QWidget* combo) {
    const GwCtlRecord* r = Find(combo);
    return r && r->kind == GWCTL_COMBOBOX ? EDITOF(combo) : nullptr;
}

bool GwCtlDestroy(QWidget* ctl) {
    if (!Find(ctl)) return false;
    std::erase_if(Table(), [ctl](const GwCtlRecord& r) { return r.hwnd == ctl; });
    ctl->hide();
    ctl->deleteLater(); // it may be inside one of its own signals now
    return true;
}

void GwCtlDestroyAll() {
    for (const auto& r : Table()) {
        r.hwnd->hide();
        r.hwnd->deleteLater();
    }
    Table().clear();
}
