#include "framework/platform/windows/dialog_keys.h"

#include <vector>

namespace {

std::uint32_t DialogCode(JWnd window) {
    return window != kNoWindow
               ? static_cast<std::uint32_t>(JSendMessage(window, JMsg::GetDialogCode))
               : 0;
}

// The dialog's descendants in creation order, depth first.
void CollectDescendants(JWnd window, std::vector<JWnd>* out) {
    for (int i = 0; i < JWindowChildCount(window); ++i) {
        const JWnd child = JWindowChildAt(window, i);
        out->push_back(child);
        CollectDescendants(child, out);
    }
}

bool IsTabStop(JWnd window) {
    return (JWindowStyle(window) & kWsTabStop) != 0 && JIsWindowVisible(window) &&
           JWindowTakesInput(window);
}

void PressButton(JWnd dialog, JWnd button, int fallbackId) {
    JMessage command =
        JMakeMessage(dialog, JMsg::Command, button != kNoWindow ? JWindowId(button) : fallbackId);
    command.source = button;
    command.value = kNotifyClicked;
    JSendMessage(command);
}

bool IsDialogKey(std::uint16_t key) {
    return key == kKeyTab || key == kKeyReturn || key == kKeyEscape;
}

}  // namespace

JMnemonicText JParseMnemonic(std::string_view text) {
    JMnemonicText parsed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && parsed.underlined < 0) {
                parsed.underlined = static_cast<int>(parsed.shown.size());
            }
        }
        parsed.shown += text[i];
    }
    return parsed;
}

char JMnemonicKey(std::string_view text) {
    const JMnemonicText parsed = JParseMnemonic(text);
    if (parsed.underlined < 0) {
        return 0;
    }
    const char key = parsed.shown[static_cast<std::size_t>(parsed.underlined)];
    return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
}

JWnd JNextTabStop(JWnd dialog, JWnd from, bool backwards) {
    std::vector<JWnd> order;
    CollectDescendants(dialog, &order);
    const int count = static_cast<int>(order.size());
    int start = -1;
    for (int i = 0; i < count; ++i) {
        if (order[static_cast<std::size_t>(i)] == from) {
            start = i;
        }
    }
    if (start < 0) {
        start = backwards ? 0 : count - 1;
    }
    for (int step = 1; step <= count; ++step) {
        const int index = ((start + (backwards ? -step : step)) % count + count) % count;
        const JWnd candidate = order[static_cast<std::size_t>(index)];
        if (IsTabStop(candidate)) {
            return candidate;
        }
    }
    return kNoWindow;
}

JWnd JDefaultButton(JWnd dialog) {
    std::vector<JWnd> order;
    CollectDescendants(dialog, &order);
    for (JWnd window : order) {
        if ((DialogCode(window) & kDlgDefaultButton) != 0 && JWindowTakesInput(window)) {
            return window;
        }
    }
    return kNoWindow;
}

namespace {

// Alt with a label's letter: the focus goes to the tab stop after the label.
bool FocusByMnemonic(JWnd dialog, const JMessage& message) {
    if (message.type != JMsg::KeyDown || (message.modifiers & kModAlt) == 0 ||
        (message.modifiers & kModCtrl) != 0 || message.key >= 128) {
        return false;
    }
    char letter = static_cast<char>(message.key);
    letter = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
    std::vector<JWnd> order;
    CollectDescendants(dialog, &order);
    for (JWnd window : order) {
        if ((DialogCode(window) & kDlgMnemonicLabel) == 0 ||
            JMnemonicKey(JWindowTitle(window)) != letter || letter == 0) {
            continue;
        }
        const JWnd next = JNextTabStop(dialog, window, false);
        if (next != kNoWindow) {
            JSetFocus(next);
            if ((DialogCode(next) & kDlgSelectsAllOnTab) != 0) {
                JSendMessage(next, JMsg::SelectAll);
            }
        }
        return true;
    }
    return false;
}

}  // namespace

bool JIsDialogMessage(JWnd dialog, const JMessage& message) {
    if (JIsDescendant(dialog, message.window) && FocusByMnemonic(dialog, message)) {
        return true;
    }
    if ((message.type != JMsg::KeyDown && message.type != JMsg::Char) ||
        !JIsDescendant(dialog, message.window) || !IsDialogKey(message.key) ||
        (message.modifiers & (kModCtrl | kModAlt)) != 0) {
        return false;
    }
    const std::uint32_t code = DialogCode(message.window);
    if ((code & kDlgWantsAll) != 0 || (message.key == kKeyTab && (code & kDlgWantsTab) != 0) ||
        (message.key == kKeyReturn && (code & kDlgWantsReturn) != 0)) {
        return false;
    }
    if (message.type == JMsg::Char) {
        return true;  // the key itself was handled
    }
    if (message.key == kKeyTab) {
        const JWnd next =
            JNextTabStop(dialog, message.window, (message.modifiers & kModShift) != 0);
        if (next != kNoWindow) {
            JSetFocus(next);
            if ((DialogCode(next) & kDlgSelectsAllOnTab) != 0) {
                JSendMessage(next, JMsg::SelectAll);
            }
        }
    } else if (message.key == kKeyReturn) {
        const JWnd focused = (code & kDlgButton) != 0 ? message.window : JDefaultButton(dialog);
        PressButton(dialog, focused, kIdOk);
    } else {
        PressButton(dialog, JWindowChildWithId(dialog, kIdCancel), kIdCancel);
    }
    return true;
}
