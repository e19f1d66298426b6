#include "winsupport/gwmessage.h"

#include "winsupport/gwcontrol.h"

#include <QMessageBox>

int GwMessageBox(QWidget* owner, const std::string& text, const std::string& caption, int kind) {
    int answer = 0;
    if (SEAMMESSAGE(text, caption, kind, answer)) return answer;
    const bool question = kind == GW_MB_QUESTION;
    const QMessageBox::Icon icon = question                ? QMessageBox::Question
                                   : kind == GW_MB_WARNING ? QMessageBox::Warning
                                   : kind == GW_MB_INFO    ? QMessageBox::Information
                                                           : QMessageBox::Critical;
    QMessageBox box(icon, QS(caption), QS(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    owner ? owner : GwMainWindow());
    if (question) box.setDefaultButton(QMessageBox::Yes);
    const int result = box.exec();
    if (!question) return GW_IDOK;
    return result == QMessageBox::Yes ? GW_IDYES : GW_IDNO;
}
