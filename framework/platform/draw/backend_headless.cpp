// The headless backend: a virtual screen in memory. The clock runs from the
// system's monotonic clock, and sleeping only moves it forward, so tests and
// scripts never wait.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <deque>
#include <string>
#include <string_view>

#include "framework/core/strings.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/png_file.h"

namespace {

struct QueuedEvent {
    JInputEvent event;
    std::uint32_t due;
    bool ownMoment = false;  // a move never merged into the one after it
};

struct HeadlessState {
    JHeadlessScreen screen;
    bool open = false;
    bool frameExists = false;
    bool frameVisible = false;
    std::string title;
    JRect frameBounds;
    JRect restoredBounds;  // while maximised
    bool maximised = false;
    int minimumWidth = 1;
    int minimumHeight = 1;
    JSurface shown;
    std::deque<QueuedEvent> queue;
    std::uint32_t queueDelay = 0;  // added to the due time of events queued next
    JCursorShape cursor = JCursorShape::Arrow;
    int beeps = 0;
    std::string clipboard;
    std::uint32_t skipped = 0;
    JPointerState pointer;  // as of the events delivered so far
};

HeadlessState& State() {
    static HeadlessState state;
    return state;
}

std::uint32_t Ticks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(ms) + State().skipped;
}

void Queue(const JInputEvent& event, bool ownMoment = false) {
    HeadlessState& state = State();
    const std::uint32_t last = state.queue.empty() ? Ticks() : state.queue.back().due;
    state.queue.push_back(QueuedEvent{event, last + state.queueDelay, ownMoment});
    state.queueDelay = 0;
}

JInputEvent PointerEvent(JInputKind kind, int x, int y, std::uint8_t button,
                         std::uint16_t modifiers) {
    JInputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    event.clicks = kind == JInputKind::PointerMoved ? 0 : 1;
    event.modifiers = modifiers;
    return event;
}

JInputEvent KeyEvent(JInputKind kind, std::uint16_t key, std::uint16_t modifiers) {
    JInputEvent event;
    event.kind = kind;
    event.key = key;
    event.modifiers = modifiers;
    return event;
}

bool Open() {
    HeadlessState& state = State();
    const JHeadlessScreen screen = state.screen;
    state = HeadlessState{};
    state.screen = screen;
    state.open = true;
    return true;
}

void Close() {
    State().open = false;
    State().frameExists = false;
}

JDisplayMode Display() {
    const JHeadlessScreen& screen = State().screen;
    JDisplayMode mode;
    mode.width = screen.width;
    mode.height = screen.height;
    mode.depth = screen.depth;
    mode.widthMillimetres = screen.widthMillimetres;
    mode.heightMillimetres = screen.heightMillimetres;
    mode.usableArea = JRect{0, 0, screen.width, screen.height - screen.bottomPanel};
    return mode;
}

bool CreateFrame(const JFrameSpec& spec) {
    HeadlessState& state = State();
    state.frameExists = true;
    state.frameVisible = false;
    state.title = spec.title;
    state.frameBounds = JRect{spec.x, spec.y, spec.x + spec.width, spec.y + spec.height};
    JSurfaceResize(&state.shown, spec.width, spec.height);
    return true;
}

void DestroyFrame() {
    State().frameExists = false;
    State().frameVisible = false;
}

void SetFrameTitle(const char* title) {
    State().title = title;
}

void SetFrameBounds(int x, int y, int width, int height) {
    HeadlessState& state = State();
    const bool resized = width != state.frameBounds.Width() || height != state.frameBounds.Height();
    state.frameBounds = JRect{x, y, x + width, y + height};
    if (resized) {
        JSurfaceResize(&state.shown, width, height);
    }
}

JRect FrameBounds() {
    return State().frameBounds;
}

void ShowFrame(bool visible) {
    State().frameVisible = visible;
}

void SetFrameMinimumSize(int width, int height) {
    State().minimumWidth = std::max(width, 1);
    State().minimumHeight = std::max(height, 1);
}

// The window manager's part: the new size arrives as a resize event.
void QueueResize(const JRect& bounds) {
    HeadlessState& state = State();
    state.frameBounds.left = bounds.left;
    state.frameBounds.top = bounds.top;
    JInputEvent event;
    event.kind = JInputKind::FrameResized;
    event.width = bounds.Width();
    event.height = bounds.Height();
    Queue(event);
}

void SetFrameMaximised(bool maximised) {
    HeadlessState& state = State();
    if (maximised == state.maximised) {
        return;
    }
    state.maximised = maximised;
    if (maximised) {
        state.restoredBounds = state.frameBounds;
        QueueResize(Display().usableArea);
    } else {
        QueueResize(state.restoredBounds);
    }
}

bool FrameMaximised() {
    return State().maximised;
}

void Present(const JSurface& content, const JRect& region) {
    JSurface& shown = State().shown;
    if (shown.width != content.width || shown.height != content.height) {
        JSurfaceResize(&shown, content.width, content.height);
    }
    const JRect area = JRectIntersect(region, content.Bounds());
    for (int y = area.top; y < area.bottom; ++y) {
        std::copy(content.Row(y) + area.left, content.Row(y) + area.right,
                  shown.Row(y) + area.left);
    }
}

std::uint8_t PointerBit(std::uint8_t button) {
    return button == kButtonLeft     ? kPointerLeft
           : button == kButtonMiddle ? kPointerMiddle
           : button == kButtonRight  ? kPointerRight
                                     : 0;
}

void TrackPointer(const JInputEvent& event) {
    JPointerState& pointer = State().pointer;
    switch (event.kind) {
        case JInputKind::PointerMoved:
        case JInputKind::ButtonDown:
        case JInputKind::ButtonUp:
            pointer.x = event.x;
            pointer.y = event.y;
            break;
        default:
            return;
    }
    if (event.kind == JInputKind::ButtonDown) {
        pointer.buttons |= PointerBit(event.button);
    } else if (event.kind == JInputKind::ButtonUp) {
        pointer.buttons &= static_cast<std::uint8_t>(~PointerBit(event.button));
    }
}

bool IsDue(const QueuedEvent& queued) {
    return static_cast<std::int32_t>(Ticks() - queued.due) >= 0;
}

bool IsResize(const QueuedEvent& queued) {
    return queued.event.kind == JInputKind::FrameResized && IsDue(queued);
}

// As the desktop queue is read: a move followed by another due move, and a
// resize followed by another due resize, are passed over.
bool Superseded(const std::deque<QueuedEvent>& queue) {
    if (queue.size() < 2 || !IsDue(queue[1])) {
        return false;
    }
    const JInputKind kind = queue[0].event.kind;
    if (kind == JInputKind::PointerMoved) {
        return queue[1].event.kind == JInputKind::PointerMoved && !queue[0].ownMoment;
    }
    return kind == JInputKind::FrameResized &&
           std::any_of(queue.begin() + 1, queue.end(), IsResize);
}

bool Poll(JInputEvent* event) {
    HeadlessState& state = State();
    if (state.queue.empty() || !IsDue(state.queue.front())) {
        return false;
    }
    while (Superseded(state.queue)) {
        const QueuedEvent dropped = state.queue.front();
        state.queue.pop_front();
        TrackPointer(dropped.event);
    }
    *event = state.queue.front().event;
    state.queue.pop_front();
    if (event->kind == JInputKind::FrameResized) {
        event->width = std::max(event->width, state.minimumWidth);
        event->height = std::max(event->height, state.minimumHeight);
        const JRect& bounds = state.frameBounds;
        SetFrameBounds(bounds.left, bounds.top, event->width, event->height);
    }
    TrackPointer(*event);
    return true;
}

// Returns at once when input is due; otherwise the clock runs on to the
// next queued event or by `milliseconds`, whichever comes first.
bool WaitForInput(std::uint32_t milliseconds) {
    HeadlessState& state = State();
    const std::uint32_t now = Ticks();
    if (state.queue.empty()) {
        state.skipped += milliseconds;
        return false;
    }
    const auto untilDue = static_cast<std::int32_t>(state.queue.front().due - now);
    if (untilDue <= 0) {
        return true;
    }
    state.skipped += std::min(static_cast<std::uint32_t>(untilDue), milliseconds);
    return static_cast<std::uint32_t>(untilDue) <= milliseconds;
}

JPointerState Pointer() {
    return State().pointer;
}

void SetCursor(JCursorShape shape) {
    State().cursor = shape;
}

void Beep() {
    ++State().beeps;
}

bool SetClipboardText(const char* text) {
    State().clipboard = text;
    return true;
}

char* ClipboardText() {
    return State().clipboard.empty() ? nullptr : JStrDup(State().clipboard.c_str());
}

bool HasClipboardText() {
    return !State().clipboard.empty();
}

void Sleep(std::uint32_t milliseconds) {
    State().skipped += milliseconds;
}

constexpr JBackend kHeadless{
    .name = "headless",
    .open = Open,
    .close = Close,
    .display = Display,
    .createFrame = CreateFrame,
    .destroyFrame = DestroyFrame,
    .setFrameTitle = SetFrameTitle,
    .setFrameBounds = SetFrameBounds,
    .frameBounds = FrameBounds,
    .showFrame = ShowFrame,
    .setFrameMinimumSize = SetFrameMinimumSize,
    .setFrameMaximised = SetFrameMaximised,
    .frameMaximised = FrameMaximised,
    .present = Present,
    .poll = Poll,
    .waitForInput = WaitForInput,
    .pointer = Pointer,
    .setCursor = SetCursor,
    .beep = Beep,
    .setClipboardText = SetClipboardText,
    .clipboardText = ClipboardText,
    .hasClipboardText = HasClipboardText,
    .ticks = Ticks,
    .sleep = Sleep,
};

// --- scripts ---

struct KeyName {
    const char* name;
    std::uint16_t key;
};

constexpr KeyName kKeyNames[] = {
    {"Return", kKeyReturn},
    {"Tab", kKeyTab},
    {"Escape", kKeyEscape},
    {"Backspace", kKeyBackspace},
    {"Delete", kKeyDelete},
    {"Space", kKeySpace},
    {"Left", kKeyLeft},
    {"Right", kKeyRight},
    {"Up", kKeyUp},
    {"Down", kKeyDown},
    {"Home", kKeyHome},
    {"End", kKeyEnd},
    {"PageUp", kKeyPageUp},
    {"PageDown", kKeyPageDown},
    {"Clear", kKeyClear},
    {"Alt", kKeyAlt},
    {"Insert", kKeyInsert},
    {"Minus", kKeyMinus},
    {"Equals", kKeyEquals},
    {"Comma", kKeyComma},
    {"Period", kKeyPeriod},
    {"Slash", kKeySlash},
    {"Semicolon", kKeySemicolon},
    {"Quote", kKeyQuote},
    {"Grave", kKeyGrave},
    {"LeftBracket", kKeyLeftBracket},
    {"RightBracket", kKeyRightBracket},
    {"Backslash", kKeyBackslash},
    {"Multiply", kKeyMultiply},
    {"Add", kKeyAdd},
    {"Subtract", kKeySubtract},
    {"Decimal", kKeyDecimal},
    {"Divide", kKeyDivide},
};

// The characters a key types on a US keyboard, without and with Shift; the
// keypad as with Num Lock on.
struct KeyCharacters {
    std::uint16_t key;
    char plain;
    char shifted;
};

constexpr KeyCharacters kKeyCharacters[] = {
    {kKeySpace, ' ', ' '},      {kKeySemicolon, ';', ':'},    {kKeyEquals, '=', '+'},
    {kKeyComma, ',', '<'},      {kKeyMinus, '-', '_'},        {kKeyPeriod, '.', '>'},
    {kKeySlash, '/', '?'},      {kKeyGrave, '`', '~'},        {kKeyLeftBracket, '[', '{'},
    {kKeyBackslash, '\\', '|'}, {kKeyRightBracket, ']', '}'}, {kKeyQuote, '\'', '"'},
    {kKeyMultiply, '*', '*'},   {kKeyAdd, '+', '+'},          {kKeySubtract, '-', '-'},
    {kKeyDecimal, '.', '.'},    {kKeyDivide, '/', '/'},
};

char KeyCharacter(std::uint16_t key, bool shift) {
    if (!JKeyTypesCharacter(key)) {
        return 0;
    }
    if (key >= 'A' && key <= 'Z') {
        return static_cast<char>(shift ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9') {
        return shift ? ")!@#$%^&*("[key - '0'] : static_cast<char>(key);
    }
    if (key >= kKeyNumpad0 && key <= kKeyNumpad0 + 9) {
        return static_cast<char>('0' + key - kKeyNumpad0);
    }
    for (const KeyCharacters& characters : kKeyCharacters) {
        if (characters.key == key) {
            return shift ? characters.shifted : characters.plain;
        }
    }
    return 0;
}

// The key (and Shift) that types a character on the main keyboard; false
// for a character no key types.
bool KeyTyping(char character, std::uint16_t* key, std::uint16_t* modifiers) {
    const unsigned char c = static_cast<unsigned char>(character);
    if (std::isalnum(c)) {
        *key = static_cast<std::uint16_t>(std::toupper(c));
        *modifiers = 0;
        return true;
    }
    for (const KeyCharacters& characters : kKeyCharacters) {
        if (characters.plain == character || characters.shifted == character) {
            *key = characters.key;
            *modifiers = characters.plain == character ? 0 : kModShift;
            return true;
        }
    }
    return false;
}

std::string_view NextWord(std::string_view* line) {
    const std::size_t start = line->find_first_not_of(' ');
    if (start == std::string_view::npos) {
        *line = {};
        return {};
    }
    const std::size_t end = line->find(' ', start);
    const std::string_view word = line->substr(start, end - start);
    *line = end == std::string_view::npos ? std::string_view{} : line->substr(end);
    return word;
}

bool ReadNumbers(std::string_view* line, int* values, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string_view word = NextWord(line);
        const auto result = std::from_chars(word.data(), word.data() + word.size(), values[i]);
        if (word.empty() || result.ec != std::errc() || result.ptr != word.data() + word.size()) {
            return false;
        }
    }
    return true;
}

bool ParseKey(std::string_view word, std::uint16_t* key, std::uint16_t* modifiers) {
    constexpr std::pair<std::string_view, std::uint16_t> kPrefixes[] = {
        {"Ctrl+", kModCtrl}, {"Shift+", kModShift}, {"Alt+", kModAlt}};
    *modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : kPrefixes) {
            if (word.starts_with(prefix)) {
                *modifiers |= bit;
                word.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
        *key = static_cast<std::uint16_t>(std::toupper(static_cast<unsigned char>(word[0])));
        return true;
    }
    if (word.size() == 1) {
        for (const KeyCharacters& characters : kKeyCharacters) {
            // The main block's punctuation, not the keypad's operators.
            if (characters.plain == word[0] && characters.key >= kKeySemicolon) {
                *key = characters.key;
                return true;
            }
        }
    }
    if (word.size() == 4 && word.starts_with("Num") &&
        std::isdigit(static_cast<unsigned char>(word[3]))) {
        *key = static_cast<std::uint16_t>(kKeyNumpad0 + (word[3] - '0'));
        return true;
    }
    int function = 0;
    if (word.size() >= 2 && word[0] == 'F' &&
        std::from_chars(word.data() + 1, word.data() + word.size(), function).ec == std::errc() &&
        function >= 1 && function <= 12) {
        *key = static_cast<std::uint16_t>(kKeyF1 + function - 1);
        return true;
    }
    for (const KeyName& name : kKeyNames) {
        if (word == name.name) {
            *key = name.key;
            return true;
        }
    }
    return false;
}

bool RunScriptLine(std::string_view line) {
    const std::string_view command = NextWord(&line);
    int v[4] = {};
    if (command.empty() || command.starts_with('#')) {
        return true;
    }
    if (command == "move" && ReadNumbers(&line, v, 2)) {
        JHeadlessMovePointer(v[0], v[1]);
    } else if (command == "click" && ReadNumbers(&line, v, 2)) {
        JHeadlessClick(v[0], v[1], NextWord(&line) == "right" ? kButtonRight : kButtonLeft);
    } else if (command == "drag" && ReadNumbers(&line, v, 4)) {
        JHeadlessDrag(v[0], v[1], v[2], v[3]);
    } else if (command == "wheel" && ReadNumbers(&line, v, 3)) {
        JHeadlessWheel(v[0], v[1], v[2]);
    } else if (command == "resize" && ReadNumbers(&line, v, 2)) {
        JHeadlessResizeFrame(v[0], v[1]);
    } else if (command == "wait" && ReadNumbers(&line, v, 1) && v[0] >= 0) {
        JHeadlessWait(static_cast<std::uint32_t>(v[0]));
    } else if (command == "close") {
        JHeadlessRequestClose();
    } else if (command == "type") {
        const std::size_t start = line.find_first_not_of(' ');
        JHeadlessTypeText(
            std::string(start == std::string_view::npos ? std::string_view{} : line.substr(start))
                .c_str());
    } else if (command == "key") {
        std::uint16_t key = 0;
        std::uint16_t modifiers = 0;
        if (!ParseKey(NextWord(&line), &key, &modifiers)) {
            return false;
        }
        JHeadlessPressKey(key, modifiers);
    } else {
        return false;
    }
    return true;
}

}  // namespace

const JBackend& JHeadlessBackend() {
    return kHeadless;
}

void JHeadlessConfigure(const JHeadlessScreen& screen) {
    State().screen = screen;
}

const JSurface& JHeadlessFramePixels() {
    return State().shown;
}

bool JHeadlessWriteFramePng(const char* path) {
    return JWritePng(State().shown, path);
}

bool JHeadlessFrameVisible() {
    return State().frameExists && State().frameVisible;
}

const char* JHeadlessFrameTitle() {
    return State().title.c_str();
}

JCursorShape JHeadlessCursor() {
    return State().cursor;
}

int JHeadlessBeepCount() {
    return State().beeps;
}

void JHeadlessMovePointer(int x, int y) {
    Queue(PointerEvent(JInputKind::PointerMoved, x, y, 0, 0));
}

void JHeadlessClick(int x, int y, std::uint8_t button, std::uint16_t modifiers) {
    Queue(PointerEvent(JInputKind::PointerMoved, x, y, 0, modifiers));
    Queue(PointerEvent(JInputKind::ButtonDown, x, y, button, modifiers));
    Queue(PointerEvent(JInputKind::ButtonUp, x, y, button, modifiers));
}

void JHeadlessPress(int x, int y, std::uint8_t button) {
    Queue(PointerEvent(JInputKind::PointerMoved, x, y, 0, 0));
    Queue(PointerEvent(JInputKind::ButtonDown, x, y, button, 0));
}

void JHeadlessRelease(int x, int y, std::uint8_t button) {
    Queue(PointerEvent(JInputKind::ButtonUp, x, y, button, 0));
}

void JHeadlessDrag(int fromX, int fromY, int toX, int toY, std::uint16_t modifiers) {
    constexpr int kSteps = 4;
    Queue(PointerEvent(JInputKind::PointerMoved, fromX, fromY, 0, modifiers));
    Queue(PointerEvent(JInputKind::ButtonDown, fromX, fromY, kButtonLeft, modifiers));
    // Each step is a moment of its own, as a hand moving over time.
    for (int step = 1; step <= kSteps; ++step) {
        Queue(PointerEvent(JInputKind::PointerMoved, fromX + (toX - fromX) * step / kSteps,
                           fromY + (toY - fromY) * step / kSteps, 0, modifiers),
              true);
    }
    Queue(PointerEvent(JInputKind::ButtonUp, toX, toY, kButtonLeft, modifiers));
}

void JHeadlessTypeText(const char* text) {
    for (const char* p = text; *p != 0;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        JInputEvent event;
        event.kind = JInputKind::Text;
        std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        length = std::min(length, JStrLen(p));
        std::copy(p, p + length, event.text);
        std::uint16_t key = 0;
        std::uint16_t modifiers = 0;
        if (c < 0x80 && KeyTyping(static_cast<char>(c), &key, &modifiers)) {
            // As a keyboard sends it: the key, the character, the release.
            Queue(KeyEvent(JInputKind::KeyDown, key, modifiers));
            Queue(event);
            Queue(KeyEvent(JInputKind::KeyUp, key, modifiers));
        } else {
            Queue(event);
        }
        p += length;
    }
}

// As the desktop delivers a key: the press, the character it types (none
// while Ctrl or Alt is held), the release.
void JHeadlessPressKey(std::uint16_t key, std::uint16_t modifiers) {
    Queue(KeyEvent(JInputKind::KeyDown, key, modifiers));
    const char character = KeyCharacter(key, (modifiers & kModShift) != 0);
    if (character != 0 && (modifiers & (kModCtrl | kModAlt)) == 0) {
        JInputEvent text;
        text.kind = JInputKind::Text;
        text.text[0] = character;
        Queue(text);
    }
    Queue(KeyEvent(JInputKind::KeyUp, key, modifiers));
}

void JHeadlessWheel(int x, int y, int notches) {
    JInputEvent event = PointerEvent(JInputKind::Wheel, x, y, 0, 0);
    event.wheel = notches;
    Queue(event);
}

void JHeadlessResizeFrame(int width, int height) {
    JInputEvent event;
    event.kind = JInputKind::FrameResized;
    event.width = width;
    event.height = height;
    Queue(event);
}

void JHeadlessRequestClose() {
    JInputEvent event;
    event.kind = JInputKind::CloseRequested;
    Queue(event);
}

void JHeadlessDropFile(const char* path) {
    JQueueDroppedFile(path);
    JInputEvent event;
    event.kind = JInputKind::FileDropped;
    Queue(event);
}

void JHeadlessWait(std::uint32_t milliseconds) {
    State().queueDelay += milliseconds;
}

int JHeadlessPendingEvents() {
    return static_cast<int>(State().queue.size());
}

bool JHeadlessRunScript(const char* script, int* badLine) {
    std::string_view rest(script);
    int number = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!RunScriptLine(line)) {
            if (badLine != nullptr) {
                *badLine = number;
            }
            return false;
        }
    }
    return true;
}
