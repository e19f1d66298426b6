#include "core/hooks.h"
#include "core/strings.h"

#include <cstdio>

namespace {

MessageAnswer stderrMessage(const std::string& text, const std::string& caption, MessageKind kind) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return kind == MSG_YESNO_QUESTION || kind == MSG_YESNOCANCEL_QUESTION ? ANSWER_NO : ANSWER_OK;
}

} // namespace

UiHooks Ui;
ComputeHooks Compute;

void RESETHOOKS() {
    Ui = UiHooks{};
    Ui.message = stderrMessage;
    Compute = ComputeHooks{};
}

namespace {
// The hooks hold their defaults from program start on.
const bool hooksReady = (RESETHOOKS(), true);
} // namespace

// A control character in a message (most often from a file name) is shown as its
// picture, so that an escape sequence never reaches a terminal raw; the message's
// own line breaks stay.
MessageAnswer SHOWMESSAGE(const std::string& text, const std::string& caption, MessageKind kind) {
    const std::string shown = CONTROLPICTURES(text, true);
    if (Ui.message) return Ui.message(shown, caption, kind);
    return stderrMessage(shown, caption, kind);
}

void SETSTATUS(int part, const std::string& text) {
    if (Ui.status) Ui.status(part, CONTROLPICTURES(text));
}

void REDRAW() {
    if (Ui.redraw) Ui.redraw();
}
