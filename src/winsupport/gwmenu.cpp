#include "winsupport/gwmenu.h"

#include "winsupport/gwcontrol.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

const char* const IdProperty = "gwId";
const char* const HandlerProperty = "gwHandler";

int IdOf(const QAction* a) {
    return a->property(IdProperty).toInt();
}

// Whether every popup above the action is enabled.
bool PopupsEnabled(const QAction* a) {
    for (auto* m = qobject_cast<const QMenu*>(a->parent()); m;
         m = qobject_cast<const QMenu*>(m->parent()))
        if (!m->menuAction()->isEnabled()) return false;
    return true;
}

void ApplyState(QAction* a, int state) {
    a->setEnabled(!(state & (GW_MF_GRAYED | GW_MF_DISABLED)));
    const bool checked = state & GW_MF_CHECKED;
    a->setCheckable(checked);
    a->setChecked(checked);
}

// A text item (or separator) with its id, key and state, sending its command to the
// menu bar's handler.
QAction* MakeAction(QMenu* menu, QMenuBar* bar, const GwMenuItem& item) {
    auto* a = new QAction(menu);
    a->setProperty(IdProperty, item.id);
    a->setObjectName(QString::number(item.id));
    if (!item.text || !*item.text)
        a->setSeparator(true);
    else
        a->setText(item.text);
    if (item.key && *item.key) a->setShortcut(QKeySequence(item.key));
    ApplyState(a, item.state);
    QObject::connect(a, &QAction::triggered, bar, [a, bar](bool checked) {
        // The program sets check marks itself: undo Qt's toggle.
        if (a->isCheckable()) a->setChecked(!checked);
        if (!PopupsEnabled(a)) return;
        auto handler =
            reinterpret_cast<GwCommandProc>(bar->property(HandlerProperty).value<quintptr>());
        if (handler) handler(IdOf(a));
    });
    return a;
}

QMenu* Popup(QMenuBar* menu, int position) {
    const auto actions = menu ? menu->actions() : QList<QAction*>();
    return position >= 0 && position < actions.size() ? actions[position]->menu() : nullptr;
}

QAction* FindIn(QMenu* m, int id, QMenu** popup, int* position) {
    const auto actions = m->actions();
    for (int i = 0; i < actions.size(); ++i) {
        QAction* a = actions[i];
        if (a->menu()) {
            if (QAction* found = FindIn(a->menu(), id, popup, position)) return found;
        } else if (IdOf(a) == id) {
            if (popup) *popup = m;
            if (position) *position = i;
            return a;
        }
    }
    return nullptr;
}

} // namespace

QMenuBar* GwLoadMenu(QMainWindow* window, std::span<const GwMenuItem> table,
                     GwCommandProc handler) {
    QMenuBar* bar = window->menuBar();
    bar->clear();
    bar->setProperty(HandlerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(handler)));
    QMenu* popup = nullptr;
    QMenu* submenu = nullptr;
    for (size_t i = 0; i < table.size(); ++i) {
        const GwMenuItem& item = table[i];
        if (item.level == 0) {
            popup = bar->addMenu(item.text ? item.text : "");
            popup->menuAction()->setEnabled(!(item.state & (GW_MF_GRAYED | GW_MF_DISABLED)));
            submenu = nullptr;
        } else if (item.level == 1 && popup) {
            const bool opensSubmenu = item.id == 0 && item.text && *item.text &&
                                      i + 1 < table.size() && table[i + 1].level == 2;
            if (opensSubmenu)
                submenu = popup->addMenu(item.text);
            else
                popup->addAction(MakeAction(popup, bar, item));
        } else if (item.level == 2 && submenu) {
            submenu->addAction(MakeAction(submenu, bar, item));
        }
    }
    return bar;
}

bool GwInsertMi(QMenuBar* menu, int popup, int position, const GwMenuItem& item) {
    QMenu* m = Popup(menu, popup);
    if (!m || (item.id != 0 && FINDMIBYID(menu, item.id))) return false;
    const auto actions = m->actions();
    QAction* before = position >= 0 && position < actions.size() ? actions[position] : nullptr;
    m->insertAction(before, MakeAction(m, menu, item));
    return true;
}

QAction* FINDMIBYID(QMenuBar* menu, int id, QMenu** popup, int* position) {
    if (!menu || id == 0) return nullptr;
    for (QAction* top : menu->actions())
        if (top->menu())
            if (QAction* a = FindIn(top->menu(), id, popup, position)) return a;
    return nullptr;
}

bool GwModifyMiType(QMenuBar* menu, int id, int type) {
    QAction* a = FINDMIBYID(menu, id);
    if (!a || (type != GW_MFT_STRING && type != GW_MFT_SEPARATOR)) return false;
    a->setSeparator(type == GW_MFT_SEPARATOR);
    return true;
}

bool GwModifyMiState(QMenuBar* menu, int id, int state) {
    QAction* a = FINDMIBYID(menu, id);
    if (!a) return false;
    ApplyState(a, state);
    return true;
}

bool GwModifyMiTitle(QMenuBar* menu, int id, const std::string& text) {
    QAction* a = FINDMIBYID(menu, id);
    if (!a) return false;
    a->setText(QS(text));
    return true;
}

int GwGetMiState(QMenuBar* menu, int id) {
    const QAction* a = FINDMIBYID(menu, id);
    if (!a) return -1;
    return (a->isEnabled() ? 0 : GW_MF_GRAYED) | (a->isChecked() ? GW_MF_CHECKED : 0);
}

bool GwEnablePopup(QMenuBar* menu, int popup, bool enabled) {
    QMenu* m = Popup(menu, popup);
    if (!m) return false;
    m->menuAction()->setEnabled(enabled);
    return true;
}
