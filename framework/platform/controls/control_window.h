// What the platform's native-style controls share: their style bits and
// notification codes, creation as child windows, the control font and
// drawing helpers (every colour from the system colour table), 3D bevels and
// notifying the parent. Each control keeps its own
// state in a table keyed by its window handle, so that the window's user-data
// slot stays free for the framework, which may also subclass the controls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "framework/platform/draw/draw_port.h"
#include "framework/platform/draw/system_colours.h"
#include "framework/platform/windows/dialog_keys.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window_paint.h"

// Style bits above the window styles of window.h mean something to one
// control kind only.
constexpr std::uint32_t kWsControlBit0 = 0x10000;
constexpr std::uint32_t kWsControlBit1 = 0x20000;
constexpr std::uint32_t kWsControlBit2 = 0x40000;

// Notification codes in the value of the Command message a control sends its
// parent (code: the control's id; source: the control).
constexpr int kNotifyChange = 1;       // an edit field's text changed
constexpr int kNotifySelChange = 2;    // a list's selection changed by the user
constexpr int kNotifyDoubleClick = 3;  // an item of a list box was double-clicked

struct JControlSpec {
    JWnd parent = kNoWindow;
    JRect bounds;  // in the parent's client coordinates
    int id = 0;
    const char* text = "";
    std::uint32_t style = 0;  // kWsChild and kWsTabStop are added as the kind needs
};

// Registers the class once and makes the control, shown.
JWnd JCreateControlWindow(const JWindowClass& windowClass, const JControlSpec& spec,
                          std::uint32_t kindStyle);

// The font every control draws with, measured without a drawing port.
JFont* JControlFont();
JTextExtent JControlMeasure(std::string_view text);
int JControlLineHeight();

// Sends Command to the control's parent with its id and `notification`.
void JNotifyParent(JWnd control, int notification);

// --- drawing helpers, for use between JBeginPaint and JEndPaint ---
void JFillArea(const JRect& rect, JSysColour colour);
void JFrameArea(const JRect& rect, JSysColour colour);
// The same in a colour of the content rather than of the chrome (a colour
// button's cells, a box filled as the application asks).
void JFillArea(const JRect& rect, JColour colour);
void JFrameArea(const JRect& rect, JColour colour);
// A two-pixel 3D border inside `rect`, lit from the top left: raised as a
// button (white and light, shadow and black) or sunken as a field.
void JDrawBevel(const JRect& rect, bool raised);
// Text at the left edge of `rect` (or centred, or right), vertically centred.
// Disabled text is embossed: grey over a white copy a pixel down and right.
enum class JTextAlign { Left, Centre, Right };
void JDrawTextIn(const JRect& rect, std::string_view text, JTextAlign align, JSysColour colour,
                 bool enabled = true);
// As JDrawTextIn, with the mnemonic letter underlined.
void JDrawMnemonicTextIn(const JRect& rect, std::string_view text, JTextAlign align,
                         JSysColour colour, bool enabled = true);
// A solid triangle for arrows, centred in `rect`, embossed when disabled.
enum class JArrowDirection { Up, Down, Left, Right };
void JDrawArrow(const JRect& rect, JArrowDirection direction, bool enabled);
// A dotted focus frame that inverts what it crosses, so it shows on any colour.
void JDrawFocusFrame(const JRect& rect);

// Paints a control: begins the paint, selects the control font and calls
// `draw` with the client rectangle, then ends the paint.
template <typename Draw>
void JPaintControl(JWnd control, Draw draw) {
    JPaintInfo paint;
    if (JBeginPaint(control, &paint) == nullptr) {
        return;
    }
    const PenSnapshot pen = JSavePenState();
    JSetFontFace(kDefaultFontFace);
    JSetFontSize(kDefaultFontSize);
    JSetFontStyle(0);
    JSetPenMode(JPenMode::Copy);
    JSetFillPattern(1);
    JSetPenWidth(1);
    draw(JWindowClientRect(control));
    JRestorePenState(pen);
    JEndPaint(control, paint);
}

// Per-kind state, one record for each live control of that kind.
template <typename Record>
class JControlTable {
public:
    Record* Find(JWnd window) {
        auto it = records_.find(window);
        return it != records_.end() ? it->second.get() : nullptr;
    }
    Record* Add(JWnd window) {
        auto& slot = records_[window];
        slot = std::make_unique<Record>();
        return slot.get();
    }
    void Remove(JWnd window) { records_.erase(window); }

private:
    std::map<JWnd, std::unique_ptr<Record>> records_;
};
