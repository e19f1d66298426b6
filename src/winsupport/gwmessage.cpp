#include "winsupport/gwmessage.h"

#include "winsupport/gwcontrol.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

// A box whose question has to be answered: Escape and the close box would otherwise
// count as No and, asked about unsaved changes, throw the changes away.
class QuestionBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Cancel)) return;
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

} // namespace

int GwMessageBox(QWidget* owner, const std::string& text, const std::string& caption, int kind) {
    int answer = 0;
    if (SEAMMESSAGE(text, caption, kind, answer)) return answer;
    if (kind == GW_MB_QUESTIONCANCEL) {
        QMessageBox box(QMessageBox::Question, QS(caption), QS(text),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                        owner ? owner : GwMainWindow());
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int chosen = box.exec();
        return chosen == QMessageBox::Yes ? GW_IDYES : chosen == QMessageBox::No ? GW_IDNO : GW_IDCANCEL;
    }
    const bool question = kind == GW_MB_QUESTION;
    if (question) {
        QuestionBox box(QMessageBox::Question, QS(caption), QS(text),
                        QMessageBox::Yes | QMessageBox::No, owner ? owner : GwMainWindow());
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? GW_IDYES : GW_IDNO;
    }
    const QMessageBox::Icon icon = kind == GW_MB_WARNING ? QMessageBox::Warning
                                   : kind == GW_MB_INFO  ? QMessageBox::Information
                                                         : QMessageBox::Critical;
    QMessageBox box(icon, QS(caption), QS(text), QMessageBox::Ok, owner ? owner : GwMainWindow());
    box.exec();
    return GW_IDOK;
}
