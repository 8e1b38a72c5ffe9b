// The backend that shows the program: a display, one top-level frame window
// whose content is a 32-bit surface, input, the pointer, the clipboard and the
// clock. Two backends implement it: SDL2 for the desktop and a headless one
// for tests and machines without a display. Nothing above the platform layer
// knows which one runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/platform/draw/geometry.h"
#include "framework/platform/draw/surface.h"

enum class JBackendChoice {
    Automatic,  // SDL2 when a display can be opened, headless otherwise
    Headless,
    Desktop,  // SDL2 or nothing
};

struct JDisplayMode {
    int width = 0;
    int height = 0;
    int depth = 32;  // bits per pixel
    int widthMillimetres = 0;
    int heightMillimetres = 0;
    JRect usableArea;  // the screen without panels and task bars
};

struct JFrameSpec {
    const char* title = "";
    int x = 0;
    int y = 0;
    int width = 640;
    int height = 480;
    bool resizable = true;
};

enum class JCursorShape : std::uint8_t {
    Arrow = 1,
    Cross = 2,
    Wait = 3,
    TextBeam = 4,
    Program1 = 5,  // the program's own cursors
    Program2 = 6,
    Program3 = 7,
    SizeWE = 8,     // over the sizing borders: left and right
    SizeNS = 9,     // top and bottom
    SizeNWSE = 10,  // top-left and bottom-right corners
    SizeNESW = 11,  // top-right and bottom-left corners
};
constexpr std::size_t kCursorShapeCount = 12;

// Modifier bits of input events.
constexpr std::uint16_t kModShift = 1;
constexpr std::uint16_t kModCtrl = 2;
constexpr std::uint16_t kModAlt = 4;

// Key codes follow the classic virtual-key numbering: letters and digits are
// their upper-case characters.
constexpr std::uint16_t kKeyBackspace = 8;
constexpr std::uint16_t kKeyTab = 9;
constexpr std::uint16_t kKeyClear = 12;
constexpr std::uint16_t kKeyReturn = 13;
constexpr std::uint16_t kKeyShift = 16;
constexpr std::uint16_t kKeyControl = 17;
constexpr std::uint16_t kKeyAlt = 18;
constexpr std::uint16_t kKeyEscape = 27;
constexpr std::uint16_t kKeySpace = 32;
constexpr std::uint16_t kKeyPageUp = 33;
constexpr std::uint16_t kKeyPageDown = 34;
constexpr std::uint16_t kKeyEnd = 35;
constexpr std::uint16_t kKeyHome = 36;
constexpr std::uint16_t kKeyLeft = 37;
constexpr std::uint16_t kKeyUp = 38;
constexpr std::uint16_t kKeyRight = 39;
constexpr std::uint16_t kKeyDown = 40;
constexpr std::uint16_t kKeyInsert = 45;
constexpr std::uint16_t kKeyDelete = 46;
constexpr std::uint16_t kKeyNumpad0 = 96;    // the keypad's digits with Num Lock on; 1 to 9 follow
constexpr std::uint16_t kKeyMultiply = 106;  // the keypad's operators
constexpr std::uint16_t kKeyAdd = 107;
constexpr std::uint16_t kKeySubtract = 109;
constexpr std::uint16_t kKeyDecimal = 110;
constexpr std::uint16_t kKeyDivide = 111;
constexpr std::uint16_t kKeyF1 = 112;  // F1 to F12 follow
// Punctuation keys of the main block, named by their unshifted character on
// a US keyboard.
constexpr std::uint16_t kKeySemicolon = 186;
constexpr std::uint16_t kKeyEquals = 187;
constexpr std::uint16_t kKeyComma = 188;
constexpr std::uint16_t kKeyMinus = 189;
constexpr std::uint16_t kKeyPeriod = 190;
constexpr std::uint16_t kKeySlash = 191;
constexpr std::uint16_t kKeyGrave = 192;
constexpr std::uint16_t kKeyLeftBracket = 219;
constexpr std::uint16_t kKeyBackslash = 220;
constexpr std::uint16_t kKeyRightBracket = 221;
constexpr std::uint16_t kKeyQuote = 222;

// Whether the key types a character when neither Ctrl nor Alt is held: the
// backends then send its text right after its key-down.
inline bool JKeyTypesCharacter(std::uint16_t key) {
    return key == kKeySpace || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= kKeyNumpad0 && key <= kKeyDivide) ||
           (key >= kKeySemicolon && key <= kKeyGrave) ||
           (key >= kKeyLeftBracket && key <= kKeyQuote);
}

enum class JInputKind : std::uint8_t {
    None,
    PointerMoved,
    ButtonDown,
    ButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Text,
    FrameResized,
    FrameMoved,
    FocusGained,
    FocusLost,
    CloseRequested,
    FrameExposed,    // the frame's content must be shown again
    PointerEntered,  // the pointer came into the frame's content
    PointerLeft,     // and went out of it
    TextEditing,     // an input method's composition: text, editCursor, editLength
    FileDropped,     // a file dropped on the frame: JTakeDroppedFile gives its path
};

constexpr std::uint8_t kButtonLeft = 1;
constexpr std::uint8_t kButtonMiddle = 2;
constexpr std::uint8_t kButtonRight = 3;

struct JInputEvent {
    JInputKind kind = JInputKind::None;
    int x = 0;  // pointer position in frame content coordinates; new position or size
    int y = 0;
    int width = 0;
    int height = 0;
    std::uint8_t button = 0;
    std::uint8_t clicks = 0;  // 2 for a double click
    int wheel = 0;            // notches, positive away from the user
    std::uint16_t key = 0;
    std::uint16_t modifiers = 0;
    bool repeat = false;  // a KeyDown repeated by holding the key
    char text[32] = {};   // UTF-8, for Text and TextEditing events
    int editCursor = 0;   // TextEditing: the cursor in the composition, in characters
    int editLength = 0;   // and the length of the part being converted
};

// Pointer button bits of JPointerState.
constexpr std::uint8_t kPointerLeft = 1;
constexpr std::uint8_t kPointerMiddle = 2;
constexpr std::uint8_t kPointerRight = 4;

struct JPointerState {
    int x = 0;  // frame content coordinates
    int y = 0;
    std::uint8_t buttons = 0;  // kPointerLeft and the others, held now
};

// One backend: a table of operations.
struct JBackend {
    const char* name;
    bool (*open)();
    void (*close)();
    JDisplayMode (*display)();
    bool (*createFrame)(const JFrameSpec& spec);
    void (*destroyFrame)();
    void (*setFrameTitle)(const char* title);
    void (*setFrameBounds)(int x, int y, int width, int height);  // content rectangle
    JRect (*frameBounds)();                                       // in screen coordinates
    void (*showFrame)(bool visible);
    void (*setFrameMinimumSize)(int width, int height);  // of the content
    // Maximised, the frame fills the usable area; restored, it goes back.
    void (*setFrameMaximised)(bool maximised);
    bool (*frameMaximised)();
    // Shows `region` of the frame's content from the surface (which has the
    // content's size).
    void (*present)(const JSurface& content, const JRect& region);
    // Never blocks. Of several pointer moves queued in a row only the last
    // is delivered, and of a burst of frame resizes only the last.
    bool (*poll)(JInputEvent* event);
    // Waits until input is waiting or `milliseconds` have passed; true when
    // input is waiting.
    bool (*waitForInput)(std::uint32_t milliseconds);
    JPointerState (*pointer)();  // where the pointer is and what it holds now
    void (*setCursor)(JCursorShape shape);
    void (*beep)();
    bool (*setClipboardText)(const char* text);
    char* (*clipboardText)();    // a new heap string, or null
    bool (*hasClipboardText)();  // cheap: the text is not fetched
    std::uint32_t (*ticks)();    // milliseconds, wrapping at 32 bits
    void (*sleep)(std::uint32_t milliseconds);
};

const JBackend& JHeadlessBackend();
// Null when the program was built without a desktop backend.
const JBackend* JDesktopBackend();
// Device pixels per program pixel on the desktop: 0 (the default) takes 2
// on a display of 144 dots an inch or more, else 1; the demos can ask for 2
// to show the high-density drawing on any display. Takes effect when the
// frame is made.
void JDesktopSetScale(int scale);

// Opens the chosen backend; false when none could be opened.
bool JBackendStart(JBackendChoice choice);
void JBackendStop();
bool JBackendRunning();
// The backend in use; the headless one before start.
const JBackend& JBackendCurrent();
