#include "winsupport/gwcontrol.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <charconv>

namespace {

bool HasItems(int k) {
    return k == DLG_LISTBOX || k == DLG_COMBOBOX || k == DLG_COMBOLIST || k == DLG_TAB;
}
bool HasRange(int k) {
    return k == DLG_SCROLLBAR || k == DLG_PROGRESS || k == DLG_TRACKBAR || k == DLG_UPDOWN;
}
bool HasText(int k) {
    return k == DLG_PUSHBUTTON || k == DLG_CHECKBOX || k == DLG_RADIO || k == DLG_GROUPBOX ||
           k == DLG_STATIC || k == DLG_EDIT;
}
bool IsCombo(int k) {
    return k == DLG_COMBOBOX || k == DLG_COMBOLIST;
}

// Highest position: a scroll bar's page takes the last page - 1 positions away.
int HighPosition(const DlgControl& c) {
    if (c.kind == DLG_SCROLLBAR && c.page > 0) return std::max(c.minimum, c.maximum - c.page + 1);
    return std::max(c.minimum, c.maximum);
}
void ClampPosition(DlgControl& c) {
    c.state = std::clamp(c.state, c.minimum, HighPosition(c));
}

bool SameText(const std::string& a, const std::string& b) {
    return QS(a).compare(QS(b), Qt::CaseInsensitive) == 0;
}

// Selects item n (0: none) of a list, combo or tab, keeping the other fields in step.
void SelectItem(DlgControl& c, int n) {
    c.state = n;
    if (IsCombo(c.kind)) c.text = n > 0 ? c.items[n - 1] : std::string();
    if (c.multiSelect) {
        c.selected.assign(c.items.size(), false);
        if (n > 0) c.selected[n - 1] = true;
    }
}

// First selected item of a multi-selection list, from 1; 0 for none.
int FirstSelected(const DlgControl& c) {
    auto it = std::find(c.selected.begin(), c.selected.end(), true);
    return it == c.selected.end() ? 0 : int(it - c.selected.begin()) + 1;
}

// A whole number with optional blanks around it.
bool ParseInt(const std::string& text, int& value) {
    size_t b = text.find_first_not_of(" \t"), e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    int v = 0;
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last) return false;
    value = v;
    return true;
}

std::vector<std::string> ItemsOf(QWidget* w) {
    std::vector<std::string> items;
    if (auto l = qobject_cast<QListWidget*>(w))
        for (int i = 0; i < l->count(); ++i)
            items.push_back(SS(l->item(i)->text()));
    else if (auto cb = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < cb->count(); ++i)
            items.push_back(SS(cb->itemText(i)));
    else if (auto tw = qobject_cast<QTabWidget*>(w))
        for (int i = 0; i < tw->count(); ++i)
            items.push_back(SS(tw->tabText(i)));
    else if (auto tb = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < tb->count(); ++i)
            items.push_back(SS(tb->tabText(i)));
    return items;
}

int CheckStateOf(const QAbstractButton* b) {
    if (auto cb = qobject_cast<const QCheckBox*>(b); cb && cb->isTristate())
        return cb->checkState() == Qt::PartiallyChecked ? 2 : cb->isChecked() ? 1 : 0;
    return b->isChecked() ? 1 : 0;
}

// Draws list items whose text holds tabs with the columns at fixed stops (pixels): a
// tab moves on to the first stop right of the text before it.
class TabStopDelegate : public QStyledItemDelegate {
  public:
    TabStopDelegate(QObject* parent, std::vector<int> stops, int defaultStep)
        : QStyledItemDelegate(parent), stops_(std::move(stops)), step_(defaultStep) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
        p->save();
        p->setFont(opt.font);
        p->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                       : QPalette::Text));
        const QStringList parts = text.split('\t');
        int x = 0;
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                auto next = std::upper_bound(stops_.begin(), stops_.end(), x);
                x = next != stops_.end() ? *next : (x / step_ + 1) * step_;
            }
            p->drawText(QRect(r.left() + x, r.top(), r.width() - x, r.height()),
                        Qt::AlignLeft | Qt::AlignVCenter, parts[i]);
            x += opt.fontMetrics.horizontalAdvance(parts[i]);
        }
        p->restore();
    }

  private:
    std::vector<int> stops_;
    int step_;
};

// Unchecks a radio even when it is the checked one of an exclusive group.
void UncheckRadio(QAbstractButton* b) {
    if (!b->isChecked()) return;
    QButtonGroup* g = b->group();
    bool groupExclusive = g && g->exclusive(), autoExclusive = b->autoExclusive();
    if (g) g->setExclusive(false);
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(autoExclusive);
    if (g) g->setExclusive(groupExclusive);
}

} // namespace

int KINDOFWIDGET(const QWidget* w) {
    if (qobject_cast<const QCheckBox*>(w)) return DLG_CHECKBOX;
    if (qobject_cast<const QRadioButton*>(w)) return DLG_RADIO;
    if (qobject_cast<const QPushButton*>(w) || qobject_cast<const QToolButton*>(w))
        return static_cast<const QAbstractButton*>(w)->isCheckable() ? DLG_CHECKBOX
                                                                     : DLG_PUSHBUTTON;
    if (qobject_cast<const QGroupBox*>(w)) return DLG_GROUPBOX;
    if (qobject_cast<const QLabel*>(w)) return DLG_STATIC;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return DLG_EDIT;
    if (qobject_cast<const QListWidget*>(w)) return DLG_LISTBOX;
    if (auto cb = qobject_cast<const QComboBox*>(w))
        return cb->isEditable() ? DLG_COMBOBOX : DLG_COMBOLIST;
    if (qobject_cast<const QScrollBar*>(w)) return DLG_SCROLLBAR;
    if (qobject_cast<const QProgressBar*>(w)) return DLG_PROGRESS;
    if (qobject_cast<const QSlider*>(w)) return DLG_TRACKBAR;
    if (qobject_cast<const QSpinBox*>(w)) return DLG_UPDOWN;
    if (qobject_cast<const QTabWidget*>(w) || qobject_cast<const QTabBar*>(w)) return DLG_TAB;
    return 0;
}

void READWIDGETFULL(QWidget* w, DlgControl& c) {
    c.kind = KINDOFWIDGET(w);
    c.enabled = !w->testAttribute(Qt::WA_ForceDisabled);
    c.visible = !w->isHidden();
    if (auto b = qobject_cast<QAbstractButton*>(w))
        c.text = SS(b->text());
    else if (auto g = qobject_cast<QGroupBox*>(w))
        c.text = SS(g->title());
    else if (auto l = qobject_cast<QLabel*>(w))
        c.text = SS(l->text());
    else if (auto le = qobject_cast<QLineEdit*>(w)) {
        c.readOnly = le->isReadOnly();
        c.limit = le->maxLength() == 32767 ? 0 : le->maxLength();
    } else if (auto pe = qobject_cast<QPlainTextEdit*>(w))
        c.readOnly = pe->isReadOnly();
    else if (auto lw = qobject_cast<QListWidget*>(w)) {
        c.sorted = lw->isSortingEnabled() || lw->property("gwSorted").toBool();
        c.multiSelect = lw->selectionMode() == QAbstractItemView::MultiSelection ||
                        lw->selectionMode() == QAbstractItemView::ExtendedSelection;
    } else if (auto cb = qobject_cast<QComboBox*>(w)) {
        c.sorted = cb->property("gwSorted").toBool();
        c.readOnly = cb->lineEdit() && cb->lineEdit()->isReadOnly();
    } else if (auto sl = qobject_cast<QAbstractSlider*>(w)) {
        c.minimum = sl->minimum();
        c.maximum = sl->property("gwMax").isValid() ? sl->property("gwMax").toInt() : sl->maximum();
        c.page = qobject_cast<QScrollBar*>(w) ? sl->property("gwPage").toInt() : sl->pageStep();
    } else if (auto pb = qobject_cast<QProgressBar*>(w)) {
        c.minimum = pb->minimum();
        c.maximum = pb->maximum();
    } else if (auto sb = qobject_cast<QSpinBox*>(w)) {
        c.minimum = sb->minimum();
        c.maximum = sb->maximum();
    }
    c.items = ItemsOf(w);
    if (c.multiSelect) c.selected.assign(c.items.size(), false);
    READWIDGETVALUES(w, c);
}

void READWIDGETVALUES(QWidget* w, DlgControl& c) {
    if (auto b = qobject_cast<QAbstractButton*>(w)) {
        if (b->isCheckable()) c.state = CheckStateOf(b);
    } else if (auto le = qobject_cast<QLineEdit*>(w))
        c.text = SS(le->text());
    else if (auto pe = qobject_cast<QPlainTextEdit*>(w))
        c.text = SS(pe->toPlainText());
    else if (auto lw = qobject_cast<QListWidget*>(w)) {
        if (c.multiSelect) {
            c.selected.assign(size_t(lw->count()), false);
            for (int i = 0; i < lw->count(); ++i)
                c.selected[i] = lw->item(i)->isSelected();
            c.state = FirstSelected(c);
        } else {
            const auto sel = lw->selectedItems();
            c.state = sel.isEmpty() ? 0 : lw->row(sel.first()) + 1;
        }
    } else if (auto cb = qobject_cast<QComboBox*>(w)) {
        c.state = cb->currentIndex() + 1;
        c.text = SS(cb->currentText());
    } else if (auto sl = qobject_cast<QAbstractSlider*>(w))
        c.state = sl->value();
    else if (auto pb = qobject_cast<QProgressBar*>(w))
        c.state = std::max(pb->minimum(), pb->value());
    else if (auto sb = qobject_cast<QSpinBox*>(w)) {
        c.state = sb->value();
        c.text = std::to_string(c.state);
    } else if (auto tw = qobject_cast<QTabWidget*>(w))
        c.state = tw->currentIndex() + 1;
    else if (auto tb = qobject_cast<QTabBar*>(w))
        c.state = tb->currentIndex() + 1;
}

void WRITEWIDGET(QWidget* w, const DlgControl& c) {
    const QSignalBlocker blocker(w);
    if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);
    const QString text = QS(c.text);
    if (auto b = qobject_cast<QAbstractButton*>(w)) {
        if (b->text() != text) b->setText(text);
        if (!b->isCheckable() || CheckStateOf(b) == c.state) return;
        if (auto cb = qobject_cast<QCheckBox*>(w); cb && c.state == 2) {
            cb->setTristate(true);
            cb->setCheckState(Qt::PartiallyChecked);
        } else if (c.state)
            b->setChecked(true);
        else if (qobject_cast<QRadioButton*>(w))
            UncheckRadio(b);
        else
            b->setChecked(false);
    } else if (auto g = qobject_cast<QGroupBox*>(w)) {
        if (g->title() != text) g->setTitle(text);
    } else if (auto l = qobject_cast<QLabel*>(w)) {
        if (l->text() != text) l->setText(text);
    } else if (auto le = qobject_cast<QLineEdit*>(w)) {
        if (le->text() != text) le->setText(text);
        le->setReadOnly(c.readOnly);
        le->setMaxLength(c.limit > 0 ? c.limit : 32767);
    } else if (auto pe = qobject_cast<QPlainTextEdit*>(w)) {
        if (pe->toPlainText() != text) pe->setPlainText(text);
        pe->setReadOnly(c.readOnly);
    } else if (auto lw = qobject_cast<QListWidget*>(w)) {
        if (ItemsOf(w) != c.items) {
            lw->clear();
            for (const auto& item : c.items)
                lw->addItem(QS(item));
        }
        if (c.multiSelect) {
            for (int i = 0; i < lw->count() && i < int(c.selected.size()); ++i)
                lw->item(i)->setSelected(c.selected[i]);
        } else if (c.state > 0)
            lw->setCurrentRow(c.state - 1);
        else {
            lw->clearSelection();
            lw->setCurrentRow(-1);
        }
    } else if (auto cb = qobject_cast<QComboBox*>(w)) {
        if (ItemsOf(w) != c.items) {
            cb->clear();
            for (const auto& item : c.items)
                cb->addItem(QS(item));
        }
        if (cb->currentIndex() != c.state - 1) cb->setCurrentIndex(c.state - 1);
        if (cb->isEditable()) {
            if (cb->currentText() != text) cb->setEditText(text);
            cb->lineEdit()->setReadOnly(c.readOnly);
        }
    } else if (auto sl = qobject_cast<QAbstractSlider*>(w)) {
        const bool bar = qobject_cast<QScrollBar*>(w) != nullptr;
        sl->setRange(c.minimum, HighPosition(c));
        sl->setPageStep(c.page > 0 ? c.page : std::max(1, (c.maximum - c.minimum) / 10));
        sl->setSingleStep(1);
        if (bar) {
            sl->setProperty("gwMax", c.maximum);
            sl->setProperty("gwPage", c.page);
        }
        sl->setValue(c.state);
    } else if (auto pb = qobject_cast<QProgressBar*>(w)) {
        pb->setRange(c.minimum, c.maximum);
        pb->setValue(c.state);
    } else if (auto sb = qobject_cast<QSpinBox*>(w)) {
        sb->setRange(c.minimum, c.maximum);
        sb->setValue(c.state);
    } else if (auto tw = qobject_cast<QTabWidget*>(w)) {
        while (tw->count() > int(c.items.size())) {
            QWidget* page = tw->widget(tw->count() - 1);
            tw->removeTab(tw->count() - 1);
            delete page;
        }
        while (tw->count() < int(c.items.size()))
            tw->addTab(new QWidget, QString());
        for (int i = 0; i < tw->count(); ++i)
            tw->setTabText(i, QS(c.items[i]));
        tw->setCurrentIndex(c.state - 1);
    } else if (auto tb = qobject_cast<QTabBar*>(w)) {
        while (tb->count() > int(c.items.size()))
            tb->removeTab(tb->count() - 1);
        while (tb->count() < int(c.items.size()))
            tb->addTab(QString());
        for (int i = 0; i < tb->count(); ++i)
            tb->setTabText(i, QS(c.items[i]));
        tb->setCurrentIndex(c.state - 1);
    }
}

bool CTLSETINT(DlgControl& c, int index, int value) {
    const int k = c.kind, count = int(c.items.size());
    switch (index) {
    case DLG_VALUE:
        if (k == DLG_CHECKBOX || k == DLG_RADIO) {
            if (value < 0 || value > (k == DLG_RADIO ? 1 : 2)) return false;
            c.state = value;
        } else if (HasItems(k)) {
            if (value < 0 || value > count) return false;
            SelectItem(c, value);
        } else if (HasRange(k)) {
            c.state = value;
            ClampPosition(c);
        } else if (HasText(k))
            c.text = std::to_string(value);
        else
            return false;
        return true;
    case DLG_ENABLED:
        c.enabled = value != 0;
        return true;
    case DLG_VISIBLE:
        c.visible = value != 0;
        return true;
    case DLG_READONLY:
        if (k != DLG_EDIT && k != DLG_COMBOBOX) return false;
        c.readOnly = value != 0;
        return true;
    case DLG_COUNT:
        if (!HasItems(k) || value < 0) return false;
        c.items.resize(size_t(value));
        if (c.multiSelect) {
            c.selected.resize(size_t(value), false);
            c.state = FirstSelected(c);
        } else if (c.state > value)
            SelectItem(c, 0);
        return true;
    case DLG_MIN:
    case DLG_MAX:
        if (!HasRange(k)) return false;
        if (index == DLG_MIN ? value > c.maximum : value < c.minimum) return false;
        (index == DLG_MIN ? c.minimum : c.maximum) = value;
        ClampPosition(c);
        return true;
    case DLG_PAGE:
        if ((k != DLG_SCROLLBAR && k != DLG_TRACKBAR) || value < 0) return false;
        c.page = value;
        ClampPosition(c);
        return true;
    default:
        if (index > DLG_ITEMSEL && index <= DLG_ITEMSEL + count && k == DLG_LISTBOX) {
            const int n = index - DLG_ITEMSEL;
            if (c.multiSelect) {
                c.selected[n - 1] = value != 0;
                c.state = FirstSelected(c);
            } else if (value)
                c.state = n;
            else if (c.state == n)
                c.state = 0;
            return true;
        }
        return false;
    }
}

bool CTLSETCHAR(DlgControl& c, int index, const std::string& text) {
    const int k = c.kind, count = int(c.items.size());
    if (index == DLG_VALUE) {
        if (HasText(k))
            c.text = text;
        else if (k == DLG_COMBOBOX) {
            c.text = text;
            auto it = std::find_if(c.items.begin(), c.items.end(),
                                   [&](const std::string& s) { return SameText(s, text); });
            c.state = it == c.items.end() ? 0 : int(it - c.items.begin()) + 1;
        } else if (HasItems(k)) {
            auto it = std::find_if(c.items.begin(), c.items.end(),
                                   [&](const std::string& s) { return SameText(s, text); });
            if (it == c.items.end()) return false;
            SelectItem(c, int(it - c.items.begin()) + 1);
        } else if (k == DLG_UPDOWN) {
            int v = 0;
            if (!ParseInt(text, v)) return false;
            c.state = v;
            ClampPosition(c);
        } else
            return false;
        return true;
    }
    if (index > DLG_ITEM && index <= DLG_ITEM + count && HasItems(k)) {
        const int n = index - DLG_ITEM;
        c.items[n - 1] = text;
        if (IsCombo(k) && c.state == n) c.text = text;
        return true;
    }
    return false;
}

bool CTLGETINT(const DlgControl& c, int index, int& value) {
    const int k = c.kind, count = int(c.items.size());
    switch (index) {
    case DLG_VALUE:
        if (k == DLG_CHECKBOX || k == DLG_RADIO || HasItems(k) || HasRange(k))
            value = c.state;
        else if (HasText(k))
            return ParseInt(c.text, value);
        else
            return false;
        return true;
    case DLG_ENABLED:
        value = c.enabled;
        return true;
    case DLG_VISIBLE:
        value = c.visible;
        return true;
    case DLG_READONLY:
        if (k != DLG_EDIT && k != DLG_COMBOBOX) return false;
        value = c.readOnly;
        return true;
    case DLG_COUNT:
        if (!HasItems(k)) return false;
        value = count;
        return true;
    case DLG_MIN:
    case DLG_MAX:
        if (!HasRange(k)) return false;
        value = index == DLG_MIN ? c.minimum : c.maximum;
        return true;
    case DLG_PAGE:
        if (k != DLG_SCROLLBAR && k != DLG_TRACKBAR) return false;
        value = c.page;
        return true;
    case DLG_SELCOUNT:
        if (k != DLG_LISTBOX) return false;
        value = c.multiSelect ? int(std::count(c.selected.begin(), c.selected.end(), true))
                              : c.state > 0;
        return true;
    default:
        if (index > DLG_ITEMSEL && index <= DLG_ITEMSEL + count && k == DLG_LISTBOX) {
            const int n = index - DLG_ITEMSEL;
            value = c.multiSelect ? bool(c.selected[n - 1]) : c.state == n;
            return true;
        }
        return false;
    }
}

bool CTLGETCHAR(const DlgControl& c, int index, std::string& text) {
    const int k = c.kind, count = int(c.items.size());
    if (index == DLG_VALUE) {
        if (HasText(k) || k == DLG_COMBOBOX)
            text = c.text;
        else if (HasItems(k))
            text = c.state > 0 ? c.items[c.state - 1] : std::string();
        else if (k == DLG_UPDOWN)
            text = std::to_string(c.state);
        else
            return false;
        return true;
    }
    if (index > DLG_ITEM && index <= DLG_ITEM + count && HasItems(k)) {
        text = c.items[index - DLG_ITEM - 1];
        return true;
    }
    return false;
}

bool CTLGETLOG(const DlgControl& c, int index, bool& value) {
    int v = 0;
    if (!CTLGETINT(c, index, v)) return false;
    value = index == DLG_VALUE && (c.kind == DLG_CHECKBOX || c.kind == DLG_RADIO) ? v == 1 : v != 0;
    return true;
}

int CTLADDITEM(DlgControl& c, const std::string& text) {
    if (!HasItems(c.kind)) return 0;
    auto at = c.items.end();
    if (c.sorted)
        at = std::find_if(c.items.begin(), c.items.end(), [&](const std::string& s) {
            return QS(s).compare(QS(text), Qt::CaseInsensitive) > 0;
        });
    const int n = int(at - c.items.begin()) + 1;
    c.items.insert(at, text);
    if (c.multiSelect) {
        c.selected.insert(c.selected.begin() + (n - 1), false);
        c.state = FirstSelected(c);
    } else if (c.state >= n)
        c.state++;
    return n;
}

void INSERTITEM(QWidget* w, int n, const std::string& text) {
    const QSignalBlocker blocker(w);
    if (auto lw = qobject_cast<QListWidget*>(w))
        lw->insertItem(n - 1, QS(text));
    else if (auto cb = qobject_cast<QComboBox*>(w))
        cb->insertItem(n - 1, QS(text));
}

bool CTLSETITEMS(DlgControl& c, const std::vector<std::string>& items) {
    if (!HasItems(c.kind)) return false;
    c.items = items;
    if (c.sorted)
        std::stable_sort(c.items.begin(), c.items.end(), [](const auto& a, const auto& b) {
            return QS(a).compare(QS(b), Qt::CaseInsensitive) < 0;
        });
    if (c.multiSelect) c.selected.assign(c.items.size(), false);
    SelectItem(c, 0);
    return true;
}

QLineEdit* EDITOF(QWidget* w) {
    if (auto cb = qobject_cast<QComboBox*>(w)) return cb->lineEdit();
    if (qobject_cast<QSpinBox*>(w)) return w->findChild<QLineEdit*>();
    return qobject_cast<QLineEdit*>(w);
}

bool HASFOCUS(const QWidget* w) {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == w || w->isAncestorOf(f));
}

bool CTLMESSAGE(QWidget* w, DlgControl& c, int message, long long wparam, long long lparam) {
    QLineEdit* le = EDITOF(w);
    switch (message) {
    case DLG_MSG_SETSEL: {
        if (!le) return false;
        const int len = int(le->text().size());
        const int from = std::clamp(int(wparam), 0, len);
        const int to = lparam < 0 ? len : std::clamp(int(lparam), from, len);
        le->setSelection(from, to - from);
        return true;
    }
    case DLG_MSG_LIMITTEXT:
        if (!le || wparam < 0) return false;
        c.limit = int(wparam);
        le->setMaxLength(c.limit > 0 ? c.limit : 32767);
        return true;
    case DLG_MSG_SETTABSTOPS: {
        auto* lw = qobject_cast<QListWidget*>(w);
        if (!lw || wparam < 0 || (wparam > 0 && !lparam)) return false;
        // Dialog units: a quarter of the average character width.
        const int avg = lw->fontMetrics().averageCharWidth();
        const int* stops = reinterpret_cast<const int*>(lparam);
        std::vector<int> pixels;
        for (long long i = 0; i < wparam; ++i)
            pixels.push_back(stops[i] * avg / 4);
        std::sort(pixels.begin(), pixels.end());
        QAbstractItemDelegate* old = lw->itemDelegate();
        lw->setItemDelegate(new TabStopDelegate(lw, pixels, 8 * avg));
        if (old && old->parent() == lw) old->deleteLater();
        return true;
    }
    case DLG_MSG_CHAR:
    case DLG_MSG_KEYDOWN: {
        int key = int(wparam);
        auto mods = Qt::KeyboardModifiers(message == DLG_MSG_KEYDOWN ? int(lparam) : 0);
        QString text;
        if (message == DLG_MSG_CHAR) {
            const char32_t ch = char32_t(wparam);
            text = QString::fromUcs4(&ch, 1);
            key = ch < 128 ? QChar(ch).toUpper().unicode() : 0;
        } else if (key >= 0x20 && key < 0x7f) {
            QChar ch(key);
            text = mods & Qt::ShiftModifier ? ch.toUpper() : ch.toLower();
        }
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
        return true;
    }
    default:
        return false;
    }
}

const QFont& CONTROLFONT() {
    static const QFont font = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        f.setPointSize(8);
        return f;
    }();
    return font;
}
