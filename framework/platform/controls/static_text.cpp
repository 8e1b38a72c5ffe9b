#include "framework/platform/controls/static_text.h"

#include <string_view>

namespace {

JTextAlign AlignmentOf(JWnd control) {
    const std::uint32_t style = JWindowStyle(control);
    if ((style & kSsCentre) != 0) {
        return JTextAlign::Centre;
    }
    return (style & kSsRight) != 0 ? JTextAlign::Right : JTextAlign::Left;
}

void Paint(JWnd control) {
    JPaintControl(control, [&](const JRect& client) {
        // No background of its own: the text sits on its parent's.
        JSetForeColour(JWindowBackground(JWindowParent(control)));
        JFillRect(client.left, client.top, client.right, client.bottom);
        const std::string_view text = JWindowTitle(control);
        const int lineHeight = JControlLineHeight();
        const JTextAlign align = AlignmentOf(control);
        const bool enabled = JIsWindowEnabled(control);
        int top = client.top;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            const JRect line{client.left, top, client.right, top + lineHeight};
            const std::string_view part = text.substr(start, end - start);
            if ((JWindowStyle(control) & kSsMnemonic) != 0) {
                JDrawMnemonicTextIn(line, part, align, JSysColour::WindowText, enabled);
            } else {
                JDrawTextIn(line, part, align, JSysColour::WindowText, enabled);
            }
            top += lineHeight;
            start = end + 1;
        }
    });
}

JResult StaticProc(JWnd control, const JMessage& message) {
    switch (message.type) {
        case JMsg::Paint:
            Paint(control);
            return 0;
        case JMsg::GetDialogCode:
            return (JWindowStyle(control) & kSsMnemonic) != 0 ? kDlgMnemonicLabel : 0;
        case JMsg::Enable:
            JInvalidateRect(control, nullptr);
            return 0;
        default:
            return JDefWindowProc(control, message);
    }
}

}  // namespace

JWnd JCreateStaticText(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kStaticTextClass;
    windowClass.proc = StaticProc;
    windowClass.flags = kClassNoBackground;  // painted in the parent's colour
    return JCreateControlWindow(windowClass, spec, 0);
}

void JStaticTextSetText(JWnd control, const char* text) {
    JSetWindowTitle(control, text);
    JInvalidateRect(control, nullptr);
}
