#include "framework/platform/controls/edit_field.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/core/strings.h"
#include "framework/platform/system/clipboard.h"

namespace {

constexpr int kInset = 3;  // the two-pixel bevel and one pixel of white

struct EditState {
    std::string text;
    int anchor = 0;
    int caret = 0;
    int scrollX = 0;  // pixels scrolled off to the left
    int topLine = 0;  // first line shown
    int limit = 0;
    bool multiLine = false;
    bool dragging = false;
    int goalX = -1;            // where Up and Down aim, kept across a run of them
    bool caretHidden = false;  // the off half of the caret's blink
};

JControlTable<EditState>& Edits() {
    static JControlTable<EditState> table;
    return table;
}

// --- text geometry ---

std::vector<int> LineStarts(const std::string& text) {
    std::vector<int> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            starts.push_back(static_cast<int>(i) + 1);
        }
    }
    return starts;
}

int LineOf(const std::vector<int>& starts, int position) {
    const auto it = std::upper_bound(starts.begin(), starts.end(), position);
    return static_cast<int>(it - starts.begin()) - 1;
}

int LineEnd(const EditState& state, const std::vector<int>& starts, int line) {
    return line + 1 < static_cast<int>(starts.size())
               ? starts[static_cast<std::size_t>(line) + 1] - 1
               : static_cast<int>(state.text.size());
}

int WidthBetween(const EditState& state, int from, int to) {
    if (to <= from) {
        return 0;
    }
    return JControlMeasure(
               std::string_view(state.text)
                   .substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)))
        .width;
}

// Pixels from the start of its line to `position`.
int XOf(const EditState& state, int position) {
    const std::vector<int> starts = LineStarts(state.text);
    return WidthBetween(state, starts[static_cast<std::size_t>(LineOf(starts, position))],
                        position);
}

// The position in `line` nearest to `x` pixels from the line's start.
int PositionAtX(const EditState& state, const std::vector<int>& starts, int line, int x) {
    const int start = starts[static_cast<std::size_t>(line)];
    const int end = LineEnd(state, starts, line);
    int previous = 0;
    for (int position = start + 1; position <= end; ++position) {
        const int width = WidthBetween(state, start, position);
        if (width >= x) {
            return x - previous < width - x ? position - 1 : position;
        }
        previous = width;
    }
    return end;
}

JRect TextArea(JWnd edit) {
    const JRect client = JWindowClientRect(edit);
    return JRect{client.left + kInset, client.top + kInset, client.right - kInset,
                 client.bottom - kInset};
}

int VisibleLines(JWnd edit) {
    return std::max(1, TextArea(edit).Height() / JControlLineHeight());
}

int PositionAtPoint(JWnd edit, const EditState& state, int x, int y) {
    const JRect area = TextArea(edit);
    const std::vector<int> starts = LineStarts(state.text);
    const int lineHeight = JControlLineHeight();
    const int offset = y - area.top;
    int line = state.topLine + (offset >= 0 ? offset / lineHeight : -1);
    line = std::clamp(line, 0, static_cast<int>(starts.size()) - 1);
    return PositionAtX(state, starts, line, x - area.left + state.scrollX);
}

// --- changes ---

void ScrollToCaret(JWnd edit, EditState* state) {
    const int width = TextArea(edit).Width();
    const int x = XOf(*state, state->caret);
    if (x < state->scrollX) {
        state->scrollX = std::max(0, x - width / 4);
    } else if (x >= state->scrollX + width) {
        state->scrollX = x - width + width / 4;
    }
    const int line = LineOf(LineStarts(state->text), state->caret);
    const int visible = VisibleLines(edit);
    if (line < state->topLine) {
        state->topLine = line;
    } else if (line >= state->topLine + visible) {
        state->topLine = line - visible + 1;
    }
}

void Changed(JWnd edit, EditState* state, bool notify) {
    ScrollToCaret(edit, state);
    JInvalidateRect(edit, nullptr);
    if (notify) {
        JNotifyParent(edit, kNotifyChange);
    }
}

void SelectionOf(const EditState& state, int* start, int* end) {
    *start = std::min(state.anchor, state.caret);
    *end = std::max(state.anchor, state.caret);
}

// What may be inserted: carriage returns go, a single-line field stops at
// the first line feed, and the limit cuts the rest.
std::string Insertable(const EditState& state, std::string_view text, int replacedLength) {
    std::string clean;
    for (char c : text) {
        if (c == '\n' && !state.multiLine) {
            break;
        }
        if (c != '\r') {
            clean.push_back(c);
        }
    }
    if (state.limit > 0) {
        const int room =
            std::max(0, state.limit - static_cast<int>(state.text.size()) + replacedLength);
        clean.resize(std::min(clean.size(), static_cast<std::size_t>(room)));
    }
    return clean;
}

void Replace(JWnd edit, EditState* state, std::string_view text, bool notify) {
    int start = 0;
    int end = 0;
    SelectionOf(*state, &start, &end);
    const std::string clean = Insertable(*state, text, end - start);
    if (clean.empty() && start == end) {
        return;
    }
    state->text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start),
                        clean);
    state->anchor = state->caret = start + static_cast<int>(clean.size());
    state->caretHidden = false;
    state->goalX = -1;
    Changed(edit, state, notify);
}

void MoveCaret(JWnd edit, EditState* state, int position, bool extend) {
    state->caretHidden = false;  // a moved caret shows at once
    state->caret = std::clamp(position, 0, static_cast<int>(state->text.size()));
    if (!extend) {
        state->anchor = state->caret;
    }
    Changed(edit, state, false);
}

void Copy(const EditState& state) {
    int start = 0;
    int end = 0;
    SelectionOf(state, &start, &end);
    if (start < end) {
        JClipboardSetText(
            state.text
                .substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))
                .c_str());
    }
}

void Cut(JWnd edit, EditState* state) {
    if (state->anchor != state->caret) {
        Copy(*state);
        Replace(edit, state, "", true);
    }
}

void Paste(JWnd edit, EditState* state) {
    char* text = JClipboardGetText();
    if (text != nullptr) {
        Replace(edit, state, text, true);
        JStrFree(text);
    }
}

// Deletes the selection, or one character before (or after) the caret.
void DeleteKey(JWnd edit, EditState* state, bool forward) {
    if (state->anchor == state->caret) {
        const int target = state->caret + (forward ? 1 : -1);
        if (target < 0 || target > static_cast<int>(state->text.size())) {
            return;
        }
        state->anchor = target;
    }
    Replace(edit, state, "", true);
}

// --- keys ---

// Up and Down (and the page keys) move by lines, aiming at one column.
void MoveByLines(JWnd edit, EditState* state, int lines, bool extend) {
    const std::vector<int> starts = LineStarts(state->text);
    if (state->goalX < 0) {
        state->goalX = XOf(*state, state->caret);
    }
    const int line =
        std::clamp(LineOf(starts, state->caret) + lines, 0, static_cast<int>(starts.size()) - 1);
    const int goal = state->goalX;
    MoveCaret(edit, state, PositionAtX(*state, starts, line, goal), extend);
    state->goalX = goal;
}

bool CommandKey(JWnd edit, EditState* state, std::uint16_t key) {
    switch (key) {
        case 'A':
            state->anchor = 0;
            MoveCaret(edit, state, static_cast<int>(state->text.size()), true);
            return true;
        case 'C':
        case kKeyInsert:
            Copy(*state);
            return true;
        case 'X':
            Cut(edit, state);
            return true;
        case 'V':
            Paste(edit, state);
            return true;
        default:
            return false;
    }
}

// Left and Right without Shift first collapse a selection to its near end.
void MoveSideways(JWnd edit, EditState* state, int step, bool extend) {
    int start = 0;
    int end = 0;
    SelectionOf(*state, &start, &end);
    if (!extend && start != end) {
        MoveCaret(edit, state, step < 0 ? start : end, false);
    } else {
        MoveCaret(edit, state, state->caret + step, extend);
    }
}

void KeyDown(JWnd edit, EditState* state, const JMessage& message) {
    const bool extend = (message.modifiers & kModShift) != 0;
    const bool ctrl = (message.modifiers & kModCtrl) != 0;
    if (ctrl && CommandKey(edit, state, message.key)) {
        return;
    }
    const std::vector<int> starts = LineStarts(state->text);
    const int line = LineOf(starts, state->caret);
    const int keptGoal = state->goalX;
    state->goalX = -1;
    switch (message.key) {
        case kKeyLeft:
        case kKeyRight:
            MoveSideways(edit, state, message.key == kKeyLeft ? -1 : 1, extend);
            break;
        case kKeyUp:
        case kKeyDown:
        case kKeyPageUp:
        case kKeyPageDown: {
            const int page =
                message.key == kKeyPageUp || message.key == kKeyPageDown ? VisibleLines(edit) : 1;
            const bool back = message.key == kKeyUp || message.key == kKeyPageUp;
            state->goalX = keptGoal;
            MoveByLines(edit, state, back ? -page : page, extend);
            break;
        }
        case kKeyHome:
            MoveCaret(edit, state, ctrl ? 0 : starts[static_cast<std::size_t>(line)], extend);
            break;
        case kKeyEnd:
            MoveCaret(edit, state,
                      ctrl ? static_cast<int>(state->text.size()) : LineEnd(*state, starts, line),
                      extend);
            break;
        case kKeyBackspace:
            DeleteKey(edit, state, false);
            break;
        case kKeyDelete:
            if (extend) {
                Cut(edit, state);
            } else {
                DeleteKey(edit, state, true);
            }
            break;
        case kKeyInsert:
            if (extend) {
                Paste(edit, state);
            }
            break;
        default:
            state->goalX = keptGoal;
            break;
    }
}

void Char(JWnd edit, EditState* state, const JMessage& message) {
    if ((message.modifiers & (kModCtrl | kModAlt)) != 0) {
        return;
    }
    if (message.key == kKeyReturn && state->multiLine) {
        Replace(edit, state, "\n", true);
    } else if (message.key >= 32 && message.key <= 255 && message.key != 127) {
        const char c = static_cast<char>(message.key);
        Replace(edit, state, std::string_view(&c, 1), true);
    }
}

// --- mouse ---

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

void SelectWordAt(JWnd edit, EditState* state, int position) {
    const std::string& text = state->text;
    int start = position;
    int end = position;
    while (start > 0 && IsWordChar(text[static_cast<std::size_t>(start) - 1])) {
        --start;
    }
    while (end < static_cast<int>(text.size()) && IsWordChar(text[static_cast<std::size_t>(end)])) {
        ++end;
    }
    state->anchor = start;
    MoveCaret(edit, state, end, true);
}

void MouseDown(JWnd edit, EditState* state, const JMessage& message) {
    JSetFocus(edit);
    const int position = PositionAtPoint(edit, *state, message.x, message.y);
    state->goalX = -1;
    if (message.clicks >= 2) {
        SelectWordAt(edit, state, position);
        return;
    }
    JSetCapture(edit);
    state->dragging = true;
    MoveCaret(edit, state, position, (message.modifiers & kModShift) != 0);
}

void MouseMove(JWnd edit, EditState* state, const JMessage& message) {
    if (state->dragging) {
        MoveCaret(edit, state, PositionAtPoint(edit, *state, message.x, message.y), true);
    }
}

void MouseUp(JWnd edit, EditState* state) {
    state->dragging = false;
    if (JCaptureWindow() == edit) {
        JReleaseCapture();
    }
}

// --- drawing ---

struct LineView {
    int start = 0;
    int end = 0;
    int top = 0;
    int baseline = 0;
    int x = 0;  // where the line's first character goes
};

void DrawSelectedPart(const EditState& state, const LineView& line, int lineHeight) {
    int selStart = 0;
    int selEnd = 0;
    SelectionOf(state, &selStart, &selEnd);
    const int from = std::max(selStart, line.start);
    const int to = std::min(selEnd, line.end);
    if (from >= to) {
        return;
    }
    const int left = line.x + WidthBetween(state, line.start, from);
    const int right = line.x + WidthBetween(state, line.start, to);
    JFillArea(JRect{left, line.top, right, line.top + lineHeight}, JSysColour::Highlight);
    JSetForeColour(JSystemColour(JSysColour::HighlightText));
    const std::string part =
        state.text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    JDrawText(left, line.baseline, part.c_str());
}

void DrawLines(JWnd edit, const EditState& state, const JRect& area) {
    const std::vector<int> starts = LineStarts(state.text);
    const int lineHeight = JControlLineHeight();
    const int ascent = JControlMeasure("Xg").ascent;
    const bool enabled = JIsWindowEnabled(edit);
    const bool focused = JFocusWindow() == edit;
    for (int line = state.topLine; line < static_cast<int>(starts.size()); ++line) {
        LineView view;
        view.start = starts[static_cast<std::size_t>(line)];
        view.end = LineEnd(state, starts, line);
        view.top = area.top + (line - state.topLine) * lineHeight;
        view.baseline = view.top + ascent;
        view.x = area.left - state.scrollX;
        if (view.top >= area.bottom) {
            break;
        }
        const std::string text = state.text.substr(static_cast<std::size_t>(view.start),
                                                   static_cast<std::size_t>(view.end - view.start));
        JSetForeColour(JSystemColour(JSysColour::WindowText));
        if (enabled) {
            JDrawText(view.x, view.baseline, text.c_str());
        } else {
            JDrawDisabledText(view.x, view.baseline, text.c_str());
        }
        if (focused) {
            DrawSelectedPart(state, view, lineHeight);
        }
        if (focused && !state.caretHidden && LineOf(starts, state.caret) == line) {
            const int x = view.x + WidthBetween(state, view.start, state.caret);
            JSetForeColour(JSystemColour(JSysColour::WindowText));
            JDrawLine(x, view.top, x, view.top + lineHeight - 1);
        }
    }
}

void Paint(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    if (state == nullptr) {
        return;
    }
    JPaintControl(edit, [&](const JRect& client) {
        const JSysColour background =
            JIsWindowEnabled(edit) ? JSysColour::Window : JSysColour::Face;
        JFillArea(client, background);
        const JRect area = TextArea(edit);
        DrawLines(edit, *state, area);
        // Text scrolled past the area's sides is covered by the margins.
        JFillArea(JRect{client.left, client.top, area.left, client.bottom}, background);
        JFillArea(JRect{area.right, client.top, client.right, client.bottom}, background);
        JFillArea(JRect{client.left, client.top, client.right, area.top}, background);
        JFillArea(JRect{client.left, area.bottom, client.right, client.bottom}, background);
        JDrawBevel(client, false);
    });
}

JResult Input(JWnd edit, EditState* state, const JMessage& message) {
    switch (message.type) {
        case JMsg::KeyDown:
            KeyDown(edit, state, message);
            return 0;
        case JMsg::Char:
            Char(edit, state, message);
            return 0;
        case JMsg::MouseDown:
            MouseDown(edit, state, message);
            return 0;
        case JMsg::MouseMove:
            MouseMove(edit, state, message);
            return 0;
        case JMsg::MouseUp:
        case JMsg::CaptureLost:
            MouseUp(edit, state);
            return 0;
        default:
            return JDefWindowProc(edit, message);
    }
}

JResult EditProc(JWnd edit, const JMessage& message) {
    EditState* state = Edits().Find(edit);
    switch (message.type) {
        case JMsg::Create: {
            EditState* created = Edits().Add(edit);
            created->multiLine = (JWindowStyle(edit) & kEsMultiLine) != 0;
            created->text = Insertable(*created, JWindowTitle(edit), 0);
            created->anchor = created->caret = static_cast<int>(created->text.size());
            return 0;
        }
        case JMsg::Destroy:
            Edits().Remove(edit);
            return 0;
        case JMsg::Paint:
            Paint(edit);
            return 0;
        case JMsg::GetDialogCode:
            return kDlgWantsChars | kDlgWantsArrows | kDlgSelectsAllOnTab |
                   (state != nullptr && state->multiLine ? kDlgWantsReturn : 0);
        case JMsg::SelectAll:
            JEditSelectAll(edit);
            return 0;
        case JMsg::SetFocus:
        case JMsg::KillFocus:
        case JMsg::Enable:
        case JMsg::Size:
            JInvalidateRect(edit, nullptr);
            return 0;
        default:
            break;
    }
    return state != nullptr ? Input(edit, state, message) : JDefWindowProc(edit, message);
}

}  // namespace

JWnd JCreateEditField(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kEditFieldClass;
    windowClass.proc = EditProc;
    windowClass.cursor = JCursorShape::TextBeam;
    return JCreateControlWindow(windowClass, spec, kWsTabStop);
}

void JEditSetText(JWnd edit, const char* text) {
    if (EditState* state = Edits().Find(edit)) {
        state->text =
            Insertable(*state, text != nullptr ? text : "", static_cast<int>(state->text.size()));
        state->anchor = state->caret = static_cast<int>(state->text.size());
        state->scrollX = 0;
        state->topLine = 0;
        Changed(edit, state, false);
    }
}

std::string JEditText(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    return state != nullptr ? state->text : std::string();
}

void JEditSetSelection(JWnd edit, int anchor, int caret) {
    if (EditState* state = Edits().Find(edit)) {
        state->anchor = std::clamp(anchor, 0, static_cast<int>(state->text.size()));
        MoveCaret(edit, state, caret, true);
    }
}

void JEditSelection(JWnd edit, int* start, int* end) {
    const EditState* state = Edits().Find(edit);
    *start = 0;
    *end = 0;
    if (state != nullptr) {
        SelectionOf(*state, start, end);
    }
}

void JEditSetCaretShown(JWnd edit, bool shown) {
    EditState* state = Edits().Find(edit);
    if (state != nullptr && state->caretHidden == shown) {
        state->caretHidden = !shown;
        JInvalidateRect(edit, nullptr);
    }
}

bool JEditCaretShown(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    return state != nullptr && !state->caretHidden;
}

int JEditCaret(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    return state != nullptr ? state->caret : 0;
}

void JEditSelectAll(JWnd edit) {
    JEditSetSelection(edit, 0, 1 << 30);
}

void JEditSetLimit(JWnd edit, int maxLength) {
    if (EditState* state = Edits().Find(edit)) {
        state->limit = std::max(0, maxLength);
    }
}

void JEditCut(JWnd edit) {
    if (EditState* state = Edits().Find(edit)) {
        Cut(edit, state);
    }
}

void JEditCopy(JWnd edit) {
    if (const EditState* state = Edits().Find(edit)) {
        Copy(*state);
    }
}

void JEditPaste(JWnd edit) {
    if (EditState* state = Edits().Find(edit)) {
        Paste(edit, state);
    }
}

void JEditReplaceSelection(JWnd edit, const char* text) {
    if (EditState* state = Edits().Find(edit)) {
        Replace(edit, state, text != nullptr ? text : "", true);
    }
}

int JEditScrollX(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    return state != nullptr ? state->scrollX : 0;
}

int JEditTopLine(JWnd edit) {
    const EditState* state = Edits().Find(edit);
    return state != nullptr ? state->topLine : 0;
}
