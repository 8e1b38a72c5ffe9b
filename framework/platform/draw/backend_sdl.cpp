// The desktop backend over SDL2: one window whose surface receives the
// frame's content, SDL's events turned into input events.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "framework/core/strings.h"
#include "framework/platform/draw/backend.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/resource_images.h"

namespace {

// The beep's sound device, opened at the first beep.
struct BeepSound {
    bool tried = false;
    SDL_AudioDeviceID device = 0;
    std::vector<std::int16_t> tone;  // one beep's samples
};

struct SdlState {
    SDL_Window* window = nullptr;
    JRect placeOnShow;  // the frame's last place given, in logical pixels
    SDL_Cursor* cursors[kCursorShapeCount] = {};
    BeepSound beep;
    bool holding = false;  // an event taken by a wait, for the next poll
    SDL_Event held{};
    // Device pixels per pixel of the program: 2 on a high-density display,
    // so that the classic look keeps its size and stays crisp.
    int scale = 1;
};

SdlState& State() {
    static SdlState state;
    return state;
}

int gRequestedScale = 0;

// A display of 144 dots an inch or more draws every pixel as two by two.
int ScaleForDisplay() {
    if (gRequestedScale > 0) {
        return gRequestedScale;
    }
    float dpi = 96;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) {
        return 1;
    }
    return dpi >= 144 ? 2 : 1;
}

int Physical(int logical) {
    return logical * State().scale;
}

int Logical(int physical) {
    const int scale = State().scale;
    return physical >= 0 ? physical / scale : -((-physical + scale - 1) / scale);
}

// SDL falls back to drivers that draw nowhere (offscreen, dummy) when no
// display can be reached; only a driver that shows windows counts.
bool ShowsWindows(const char* driver) {
    static const char* const kDesktopDrivers[] = {"x11", "wayland", "cocoa", "windows"};
    for (const char* desktop : kDesktopDrivers) {
        if (driver != nullptr && SDL_strcmp(driver, desktop) == 0) {
            return true;
        }
    }
    return false;
}

bool Open() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        return false;
    }
    if (!ShowsWindows(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        SDL_Quit();
        return false;
    }
    SDL_StopTextInput();
    return true;
}

void CloseBeep() {
    BeepSound& beep = State().beep;
    if (beep.device != 0) {
        SDL_CloseAudioDevice(beep.device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    beep = BeepSound{};
}

void Close() {
    SdlState& state = State();
    CloseBeep();
    for (SDL_Cursor*& cursor : state.cursors) {
        if (cursor != nullptr) {
            SDL_FreeCursor(cursor);
            cursor = nullptr;
        }
    }
    if (state.window != nullptr) {
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    SDL_Quit();
}

JDisplayMode Display() {
    JDisplayMode mode;
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(0, &current) == 0) {
        mode.width = current.w;
        mode.height = current.h;
        mode.depth = static_cast<int>(SDL_BITSPERPIXEL(current.format));
        if (mode.depth == 24) {
            mode.depth = 32;  // true colour with padding
        }
    }
    float horizontalDpi = 96;
    float verticalDpi = 96;
    if (SDL_GetDisplayDPI(0, nullptr, &horizontalDpi, &verticalDpi) != 0) {
        horizontalDpi = verticalDpi = 96;
    }
    mode.widthMillimetres = static_cast<int>(mode.width * 25.4f / horizontalDpi);
    mode.heightMillimetres = static_cast<int>(mode.height * 25.4f / verticalDpi);
    mode.width = Logical(mode.width);
    mode.height = Logical(mode.height);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        mode.usableArea = JRect{Logical(usable.x), Logical(usable.y), Logical(usable.x + usable.w),
                                Logical(usable.y + usable.h)};
    } else {
        mode.usableArea = JRect{0, 0, mode.width, mode.height};
    }
    return mode;
}

// The program's icon on the window, for the desktop's task list and window
// switcher; SDL keeps its own copy.
void ShowProgramIcon(SDL_Window* window) {
    const JProgramIcon icon = JCompiledProgramIcon();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(icon.pixels), icon.width, icon.height, 32, icon.width * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
}

bool CreateFrame(const JFrameSpec& spec) {
    SdlState& state = State();
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (spec.resizable) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    state.scale = ScaleForDisplay();
    state.window = SDL_CreateWindow(spec.title, Physical(spec.x), Physical(spec.y),
                                    Physical(std::max(spec.width, 1)),
                                    Physical(std::max(spec.height, 1)), flags);
    if (state.window == nullptr) {
        return false;
    }
    ShowProgramIcon(state.window);
    SDL_StartTextInput();
    return true;
}

void DestroyFrame() {
    if (State().window != nullptr) {
        SDL_StopTextInput();
        SDL_DestroyWindow(State().window);
        State().window = nullptr;
    }
}

void SetFrameTitle(const char* title) {
    if (State().window != nullptr) {
        SDL_SetWindowTitle(State().window, title);
    }
}

void SetFrameBounds(int x, int y, int width, int height) {
    if (State().window != nullptr) {
        State().placeOnShow = JRect{x, y, x + width, y + height};
        SDL_SetWindowPosition(State().window, Physical(x), Physical(y));
        SDL_SetWindowSize(State().window, Physical(std::max(width, 1)),
                          Physical(std::max(height, 1)));
    }
}

JRect FrameBounds() {
    if (State().window == nullptr) {
        return JRect{};
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(State().window, &x, &y);
    SDL_GetWindowSize(State().window, &width, &height);
    return JRect{Logical(x), Logical(y), Logical(x) + Logical(width), Logical(y) + Logical(height)};
}

void ShowFrame(bool visible) {
    SDL_Window* window = State().window;
    if (window == nullptr) {
        return;
    }
    if (!visible) {
        SDL_HideWindow(window);
        return;
    }
    // A move made while the window was not mapped may not have reached the X
    // server although SDL believes it did, and SDL skips a move to where it
    // believes the window is: the last place given is given again once the
    // frame shows, by way of a pixel beside it.
    SDL_ShowWindow(window);
    const JRect place = State().placeOnShow;
    if (place.Width() > 0) {
        SDL_SetWindowPosition(window, Physical(place.left) + 1, Physical(place.top));
        SDL_SetWindowPosition(window, Physical(place.left), Physical(place.top));
    }
}

void SetFrameMinimumSize(int width, int height) {
    if (State().window != nullptr) {
        SDL_SetWindowMinimumSize(State().window, Physical(std::max(width, 1)),
                                 Physical(std::max(height, 1)));
    }
}

void SetFrameMaximised(bool maximised) {
    if (State().window != nullptr) {
        maximised ? SDL_MaximizeWindow(State().window) : SDL_RestoreWindow(State().window);
    }
}

bool FrameMaximised() {
    return State().window != nullptr &&
           (SDL_GetWindowFlags(State().window) & SDL_WINDOW_MAXIMIZED) != 0;
}

void Present(const JSurface& content, const JRect& region) {
    SDL_Window* window = State().window;
    SDL_Surface* screen = window == nullptr ? nullptr : SDL_GetWindowSurface(window);
    if (screen == nullptr || content.width <= 0 || content.height <= 0) {
        return;
    }
    const JRect area = JRectIntersect(region, content.Bounds());
    if (area.Empty()) {
        return;
    }
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(content.pixels.data()), content.width, content.height, 32,
        content.width * 4, SDL_PIXELFORMAT_XRGB8888);
    if (source == nullptr) {
        return;
    }
    SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
    SDL_Rect destination{Physical(area.left), Physical(area.top), Physical(area.Width()),
                         Physical(area.Height())};
    const SDL_Rect shown = destination;
    if (State().scale == 1) {
        SDL_BlitSurface(source, &rect, screen, &destination);
    } else {
        SDL_BlitScaled(source, &rect, screen, &destination);  // nearest pixel: stays crisp
    }
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurfaceRects(window, &shown, 1);
}

std::uint16_t Modifiers(Uint16 sdl) {
    std::uint16_t modifiers = 0;
    if (sdl & KMOD_SHIFT) {
        modifiers |= kModShift;
    }
    if (sdl & KMOD_CTRL) {
        modifiers |= kModCtrl;
    }
    if (sdl & KMOD_ALT) {
        modifiers |= kModAlt;
    }
    return modifiers;
}

// The keypad with Num Lock off: the keys printed under the digits.
std::uint16_t KeypadNavigationKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_KP_0:
            return kKeyInsert;
        case SDLK_KP_1:
            return kKeyEnd;
        case SDLK_KP_2:
            return kKeyDown;
        case SDLK_KP_3:
            return kKeyPageDown;
        case SDLK_KP_4:
            return kKeyLeft;
        case SDLK_KP_5:
            return kKeyClear;
        case SDLK_KP_6:
            return kKeyRight;
        case SDLK_KP_7:
            return kKeyHome;
        case SDLK_KP_8:
            return kKeyUp;
        case SDLK_KP_9:
            return kKeyPageUp;
        case SDLK_KP_PERIOD:
            return kKeyDelete;
        default:
            return 0;
    }
}

std::uint16_t KeypadKey(SDL_Keycode key, bool numLock) {
    if (!numLock && KeypadNavigationKey(key) != 0) {
        return KeypadNavigationKey(key);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return static_cast<std::uint16_t>(kKeyNumpad0 + 1 + (key - SDLK_KP_1));
    }
    switch (key) {
        case SDLK_KP_0:
            return kKeyNumpad0;
        case SDLK_KP_PERIOD:
            return kKeyDecimal;
        case SDLK_KP_ENTER:
            return kKeyReturn;
        case SDLK_KP_DIVIDE:
            return kKeyDivide;
        case SDLK_KP_MULTIPLY:
            return kKeyMultiply;
        case SDLK_KP_MINUS:
            return kKeySubtract;
        case SDLK_KP_PLUS:
            return kKeyAdd;
        default:
            return 0;
    }
}

std::uint16_t PunctuationKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_SEMICOLON:
            return kKeySemicolon;
        case SDLK_EQUALS:
            return kKeyEquals;
        case SDLK_COMMA:
            return kKeyComma;
        case SDLK_MINUS:
            return kKeyMinus;
        case SDLK_PERIOD:
            return kKeyPeriod;
        case SDLK_SLASH:
            return kKeySlash;
        case SDLK_BACKQUOTE:
            return kKeyGrave;
        case SDLK_LEFTBRACKET:
            return kKeyLeftBracket;
        case SDLK_BACKSLASH:
            return kKeyBackslash;
        case SDLK_RIGHTBRACKET:
            return kKeyRightBracket;
        case SDLK_QUOTE:
            return kKeyQuote;
        default:
            return 0;
    }
}

// SDL's Num Lock state can lag behind the system's; the character the key
// types, queued right behind the press, tells for certain.
bool NumLockOn(const SDL_Keysym& keysym) {
    SDL_Event next;
    return (keysym.mod & KMOD_NUM) != 0 ||
           (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
            next.type == SDL_TEXTINPUT);
}

std::uint16_t KeyCode(const SDL_Keysym& keysym) {
    const SDL_Keycode key = keysym.sym;
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<std::uint16_t>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<std::uint16_t>(key);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<std::uint16_t>(kKeyF1 + (key - SDLK_F1));
    }
    if (const std::uint16_t keypad = KeypadKey(key, NumLockOn(keysym))) {
        return keypad;
    }
    if (const std::uint16_t punctuation = PunctuationKey(key)) {
        return punctuation;
    }
    switch (key) {
        case SDLK_BACKSPACE:
            return kKeyBackspace;
        case SDLK_TAB:
            return kKeyTab;
        case SDLK_CLEAR:
            return kKeyClear;
        case SDLK_RETURN:
            return kKeyReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return kKeyShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return kKeyControl;
        case SDLK_LALT:
        case SDLK_RALT:
            return kKeyAlt;
        case SDLK_ESCAPE:
            return kKeyEscape;
        case SDLK_SPACE:
            return kKeySpace;
        case SDLK_PAGEUP:
            return kKeyPageUp;
        case SDLK_PAGEDOWN:
            return kKeyPageDown;
        case SDLK_END:
            return kKeyEnd;
        case SDLK_HOME:
            return kKeyHome;
        case SDLK_LEFT:
            return kKeyLeft;
        case SDLK_UP:
            return kKeyUp;
        case SDLK_RIGHT:
            return kKeyRight;
        case SDLK_DOWN:
            return kKeyDown;
        case SDLK_INSERT:
            return kKeyInsert;
        case SDLK_DELETE:
            return kKeyDelete;
        default:
            return 0;
    }
}

std::uint8_t Button(Uint8 sdl) {
    switch (sdl) {
        case SDL_BUTTON_LEFT:
            return kButtonLeft;
        case SDL_BUTTON_MIDDLE:
            return kButtonMiddle;
        case SDL_BUTTON_RIGHT:
            return kButtonRight;
        default:
            return 0;
    }
}

bool TranslateWindowEvent(const SDL_WindowEvent& window, JInputEvent* event) {
    switch (window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            event->kind = JInputKind::FrameResized;
            event->width = Logical(window.data1);
            event->height = Logical(window.data2);
            return true;
        case SDL_WINDOWEVENT_MOVED:
            event->kind = JInputKind::FrameMoved;
            event->x = Logical(window.data1);
            event->y = Logical(window.data2);
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event->kind = JInputKind::FocusGained;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event->kind = JInputKind::FocusLost;
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            event->kind = JInputKind::CloseRequested;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            event->kind = JInputKind::FrameExposed;
            return true;
        case SDL_WINDOWEVENT_ENTER:
            event->kind = JInputKind::PointerEntered;
            SDL_GetMouseState(&event->x, &event->y);
            event->x = Logical(event->x);
            event->y = Logical(event->y);
            return true;
        case SDL_WINDOWEVENT_LEAVE:
            event->kind = JInputKind::PointerLeft;
            return true;
        default:
            return false;
    }
}

bool Translate(const SDL_Event& sdl, JInputEvent* event) {
    *event = JInputEvent{};
    switch (sdl.type) {
        case SDL_MOUSEMOTION:
            event->kind = JInputKind::PointerMoved;
            event->x = Logical(sdl.motion.x);
            event->y = Logical(sdl.motion.y);
            event->modifiers = Modifiers(static_cast<Uint16>(SDL_GetModState()));
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event->kind =
                sdl.type == SDL_MOUSEBUTTONDOWN ? JInputKind::ButtonDown : JInputKind::ButtonUp;
            event->x = Logical(sdl.button.x);
            event->y = Logical(sdl.button.y);
            event->button = Button(sdl.button.button);
            event->clicks = sdl.button.clicks;
            event->modifiers = Modifiers(static_cast<Uint16>(SDL_GetModState()));
            return event->button != 0;
        case SDL_MOUSEWHEEL:
            event->kind = JInputKind::Wheel;
            SDL_GetMouseState(&event->x, &event->y);
            event->x = Logical(event->x);
            event->y = Logical(event->y);
            event->wheel =
                sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event->kind = sdl.type == SDL_KEYDOWN ? JInputKind::KeyDown : JInputKind::KeyUp;
            event->key = KeyCode(sdl.key.keysym);
            event->modifiers = Modifiers(sdl.key.keysym.mod);
            event->repeat = sdl.key.repeat != 0;
            return event->key != 0;
        case SDL_TEXTINPUT:
            event->kind = JInputKind::Text;
            std::memcpy(event->text, sdl.text.text, strnlen(sdl.text.text, sizeof event->text - 1));
            return true;
        case SDL_TEXTEDITING:
            event->kind = JInputKind::TextEditing;
            std::memcpy(event->text, sdl.edit.text, strnlen(sdl.edit.text, sizeof event->text - 1));
            event->editCursor = sdl.edit.start;
            event->editLength = sdl.edit.length;
            return true;
        case SDL_WINDOWEVENT:
            return TranslateWindowEvent(sdl.window, event);
        case SDL_QUIT:
            event->kind = JInputKind::CloseRequested;
            return true;
        case SDL_DROPFILE:
            JQueueDroppedFile(sdl.drop.file);
            SDL_free(sdl.drop.file);
            event->kind = JInputKind::FileDropped;
            return true;
        default:
            return false;
    }
}

bool IsResize(const SDL_Event& sdl) {
    return sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED;
}

// A move followed at once by another move, and a resize with another one
// queued behind it, are passed over: only the latest position and size
// count, and presses, releases and keys keep their places between moves.
bool Superseded(const SDL_Event& sdl) {
    if (sdl.type == SDL_MOUSEMOTION) {
        SDL_Event next;
        return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
               next.type == SDL_MOUSEMOTION;
    }
    if (IsResize(sdl)) {
        SDL_Event later[64];
        const int count =
            SDL_PeepEvents(later, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
        return std::any_of(later, later + std::max(count, 0), IsResize);
    }
    return false;
}

bool Poll(JInputEvent* event) {
    SdlState& state = State();
    if (state.holding) {
        state.holding = false;
        if (!Superseded(state.held) && Translate(state.held, event)) {
            return true;
        }
    }
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl) != 0) {
        if (!Superseded(sdl) && Translate(sdl, event)) {
            return true;
        }
    }
    return false;
}

// The event that ends the wait is held for the next poll, which keeps the
// order of events as SDL delivers them.
bool WaitForInput(std::uint32_t milliseconds) {
    SdlState& state = State();
    if (!state.holding) {
        state.holding = SDL_WaitEventTimeout(&state.held, static_cast<int>(milliseconds)) != 0;
    }
    return state.holding;
}

// Asked of the system, not taken from the events seen so far.
JPointerState Pointer() {
    int x = 0;
    int y = 0;
    const Uint32 held = SDL_GetGlobalMouseState(&x, &y);
    int left = 0;
    int top = 0;
    if (State().window != nullptr) {
        SDL_GetWindowPosition(State().window, &left, &top);
    }
    JPointerState pointer;
    pointer.x = Logical(x - left);
    pointer.y = Logical(y - top);
    pointer.buttons = static_cast<std::uint8_t>((held & SDL_BUTTON_LMASK ? kPointerLeft : 0) |
                                                (held & SDL_BUTTON_MMASK ? kPointerMiddle : 0) |
                                                (held & SDL_BUTTON_RMASK ? kPointerRight : 0));
    return pointer;
}

// The system's shape for each cursor; the program's own cursors fall back
// on these when their image is missing.
SDL_SystemCursor SystemCursor(JCursorShape shape) {
    switch (shape) {
        case JCursorShape::Cross:
            return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case JCursorShape::Wait:
            return SDL_SYSTEM_CURSOR_WAIT;
        case JCursorShape::TextBeam:
            return SDL_SYSTEM_CURSOR_IBEAM;
        case JCursorShape::Program1:
            return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case JCursorShape::Program2:
            return SDL_SYSTEM_CURSOR_HAND;
        case JCursorShape::Program3:
            return SDL_SYSTEM_CURSOR_SIZEALL;
        case JCursorShape::SizeWE:
            return SDL_SYSTEM_CURSOR_SIZEWE;
        case JCursorShape::SizeNS:
            return SDL_SYSTEM_CURSOR_SIZENS;
        case JCursorShape::SizeNWSE:
            return SDL_SYSTEM_CURSOR_SIZENWSE;
        case JCursorShape::SizeNESW:
            return SDL_SYSTEM_CURSOR_SIZENESW;
        default:
            return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The program's own cursor images (resource ids 1 to 3), drawn from the
// compiled text art; null when there is no such image.
SDL_Cursor* ProgramCursor(JCursorShape shape) {
    const int id = static_cast<int>(shape) - static_cast<int>(JCursorShape::Program1) + 1;
    if (id < 1 || id > 3) {
        return nullptr;
    }
    std::size_t count = 0;
    const JMaskedImageResource* cursors = JCompiledCursors(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const JMaskedImageResource& art = cursors[i];
        if (art.id != id) {
            continue;
        }
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormat(0, art.width, art.height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (surface == nullptr) {
            return nullptr;
        }
        auto* pixels = static_cast<std::uint32_t*>(surface->pixels);
        const int stride = surface->pitch / 4;
        for (int y = 0; y < art.height; ++y) {
            for (int x = 0; x < art.width; ++x) {
                const std::size_t at = std::size_t(y) * std::size_t(art.width) + std::size_t(x);
                pixels[y * stride + x] = art.opaque[at] ? 0xFF000000u | art.pixels[at] : 0;
            }
        }
        SDL_Cursor* cursor = SDL_CreateColorCursor(surface, art.hotX, art.hotY);
        SDL_FreeSurface(surface);
        return cursor;
    }
    return nullptr;
}

void SetCursor(JCursorShape shape) {
    const auto index = static_cast<std::size_t>(shape);
    if (index >= kCursorShapeCount) {
        return;
    }
    SDL_Cursor*& cursor = State().cursors[index];
    if (cursor == nullptr) {
        cursor = ProgramCursor(shape);
    }
    if (cursor == nullptr) {
        cursor = SDL_CreateSystemCursor(SystemCursor(shape));
    }
    if (cursor != nullptr) {
        SDL_SetCursor(cursor);
    }
}

// A 100 ms tone of 880 Hz, faded in and out over 5 ms so that it does not
// click.
std::vector<std::int16_t> BeepTone(int frequency) {
    constexpr double kPitch = 880;
    constexpr double kLoudness = 0.25 * 32767;
    const int count = frequency / 10;
    const int fade = frequency / 200;
    std::vector<std::int16_t> tone(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min(
            {1.0, static_cast<double>(i) / fade, static_cast<double>(count - 1 - i) / fade});
        const double wave = std::sin(2 * std::numbers::pi * kPitch * i / frequency);
        tone[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(kLoudness * envelope * wave));
    }
    return tone;
}

// Opens the sound device once; a machine without one stays silent.
bool OpenBeep() {
    BeepSound& beep = State().beep;
    if (beep.tried) {
        return beep.device != 0;
    }
    beep.tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    // Opening the default device where there is none makes the sound
    // library complain on standard error; counting them does not.
    if (SDL_GetNumAudioDevices(0) == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 1024;
    SDL_AudioSpec obtained{};
    beep.device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (beep.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    beep.tone = BeepTone(obtained.freq);
    SDL_PauseAudioDevice(beep.device, 0);
    return true;
}

// Queued, so it never waits for the sound; a beep that comes while another
// still sounds replaces it instead of queueing behind it.
void Beep() {
    if (!OpenBeep()) {
        return;
    }
    const BeepSound& beep = State().beep;
    SDL_ClearQueuedAudio(beep.device);
    SDL_QueueAudio(beep.device, beep.tone.data(),
                   static_cast<Uint32>(beep.tone.size() * sizeof beep.tone[0]));
}

bool SetClipboardText(const char* text) {
    return SDL_SetClipboardText(text) == 0;
}

char* ClipboardText() {
    char* text = SDL_GetClipboardText();
    if (text == nullptr) {
        return nullptr;
    }
    std::string kept;
    for (const char* p = text; *p != 0; ++p) {
        if (*p != '\r') {
            kept += *p;
        }
    }
    SDL_free(text);
    return kept.empty() ? nullptr : JStrDup(kept.c_str());
}

bool HasClipboardText() {
    return SDL_HasClipboardText() == SDL_TRUE;
}

std::uint32_t Ticks() {
    return SDL_GetTicks();
}

void Sleep(std::uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}

constexpr JBackend kSdl{
    .name = "sdl2",
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

}  // namespace

void JDesktopSetScale(int scale) {
    gRequestedScale = std::clamp(scale, 0, 4);
}

const JBackend* JDesktopBackend() {
    return &kSdl;
}
