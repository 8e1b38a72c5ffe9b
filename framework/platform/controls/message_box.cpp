#include "framework/platform/controls/message_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/platform/controls/control_window.h"
#include "framework/platform/controls/push_button.h"
#include "framework/platform/controls/static_text.h"

namespace {

constexpr const char* kMessageBoxClass = "JMessageBox";
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 320;
constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;
constexpr int kIdText = 100;

struct BoxState {
    JMessageIcon icon = JMessageIcon::None;
    int escapeAnswer = kIdCancel;
    int answer = 0;  // 0 while unanswered
};

JControlTable<BoxState>& Boxes() {
    static JControlTable<BoxState> table;
    return table;
}

std::vector<JWnd>& OpenBoxes() {
    static std::vector<JWnd> boxes;
    return boxes;
}

// --- text layout ---

// Breaks one paragraph into lines no wider than `width`, at spaces.
void WrapParagraph(const std::string& paragraph, int width, std::vector<std::string>* lines) {
    std::string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) {
            end = paragraph.size();
        }
        const std::string word = paragraph.substr(start, end - start);
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && JControlMeasure(joined).width > width) {
            lines->push_back(line);
            line = word;
        } else {
            line = joined;
        }
        start = end + 1;
    }
    lines->push_back(line);
}

std::vector<std::string> WrapText(const char* text, int width) {
    std::vector<std::string> lines;
    const std::string all = text != nullptr ? text : "";
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        WrapParagraph(all.substr(start, end - start), width, &lines);
        start = end + 1;
    }
    return lines;
}

// --- icons ---

// The icons' own artwork colours: pictures, like the icons of a resource, so
// they keep their colours whatever the system colours are.
constexpr JColour kIconOutline = JColourFromRgb(0x000000);
constexpr JColour kIconStopRed = JColourFromRgb(0xD00000);
constexpr JColour kIconCautionYellow = JColourFromRgb(0xFFE000);
constexpr JColour kIconInfoBlue = JColourFromRgb(0x0040C0);
constexpr JColour kIconWhite = JColourFromRgb(0xFFFFFF);

void DrawDisc(const JRect& r, JColour fill) {
    JSetForeColour(fill);
    JPaintRoundRect(r, r.Width() / 2, r.Height() / 2);
    JSetForeColour(kIconOutline);
    JFrameRoundRect(r, r.Width() / 2, r.Height() / 2);
}

void DrawGlyph(const JRect& r, const char* glyph, JColour colour) {
    JSetFontSize(26);
    JSetFontStyle(kFontBold);
    const std::string text(glyph);
    const JTextExtent extent = JMeasureText(text.c_str());
    JSetForeColour(colour);
    JDrawText(r.left + (r.Width() - extent.width) / 2,
              r.top + (r.Height() - (extent.ascent + extent.descent)) / 2 + extent.ascent,
              text.c_str());
    JSetFontSize(kDefaultFontSize);
    JSetFontStyle(0);
}

void DrawStopIcon(const JRect& r) {
    DrawDisc(r, kIconStopRed);
    JSetForeColour(kIconWhite);
    for (int d = -1; d <= 1; ++d) {
        JDrawLine(r.left + 9 + d, r.top + 9, r.right - 10 + d, r.bottom - 10);
        JDrawLine(r.right - 10 + d, r.top + 9, r.left + 9 + d, r.bottom - 10);
    }
}

void DrawCautionIcon(const JRect& r) {
    const JPoint triangle[3] = {
        {r.left + r.Width() / 2, r.top + 1}, {r.right - 1, r.bottom - 2}, {r.left, r.bottom - 2}};
    JSetForeColour(kIconCautionYellow);
    JPaintPolygon(triangle, 3);
    JSetForeColour(kIconOutline);
    JFramePolygon(triangle, 3);
    const int cx = r.left + r.Width() / 2;
    JFillRect(cx - 1, r.top + 10, cx + 2, r.top + 22);
    JFillRect(cx - 1, r.top + 24, cx + 2, r.top + 27);
}

void DrawIcon(JMessageIcon icon, const JRect& r) {
    switch (icon) {
        case JMessageIcon::Stop:
            DrawStopIcon(r);
            break;
        case JMessageIcon::Caution:
            DrawCautionIcon(r);
            break;
        case JMessageIcon::Information:
            DrawDisc(r, kIconInfoBlue);
            DrawGlyph(r, "i", kIconWhite);
            break;
        case JMessageIcon::Question:
            DrawDisc(r, kIconWhite);
            DrawGlyph(r, "?", kIconInfoBlue);
            break;
        case JMessageIcon::None:
            break;
    }
}

// --- the window ---

JRect IconRect() {
    return JRect{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
}

void Answer(JWnd box, int id) {
    BoxState* state = Boxes().Find(box);
    if (state != nullptr && state->answer == 0) {
        state->answer = id == kIdCancel ? state->escapeAnswer : id;
    }
}

JResult BoxProc(JWnd box, const JMessage& message) {
    switch (message.type) {
        case JMsg::Paint:
            // The face colour is read at each paint, so that the box and its
            // label (which takes the box's background) follow the system colours.
            if (!(JWindowBackground(box) == JSystemColour(JSysColour::Face))) {
                JSetWindowBackground(box, JSystemColour(JSysColour::Face));
            }
            JPaintControl(box, [&](const JRect& /*client*/) {
                if (const BoxState* state = Boxes().Find(box)) {
                    DrawIcon(state->icon, IconRect());
                }
            });
            return 0;
        case JMsg::Command:
            if (message.code == kIdOk || message.code == kIdCancel || message.code == kIdYes ||
                message.code == kIdNo) {
                Answer(box, message.code);
            }
            return 0;
        case JMsg::Close:
            Answer(box, kIdCancel);
            return 0;
        default:
            return JDefWindowProc(box, message);
    }
}

struct ButtonRow {
    int ids[2] = {kIdOk, 0};
    const char* labels[2] = {"OK", ""};
    int count = 1;
    int escapeAnswer = kIdOk;
};

ButtonRow ButtonsFor(JMessageButtons buttons) {
    switch (buttons) {
        case JMessageButtons::OkCancel:
            return ButtonRow{{kIdOk, kIdCancel}, {"OK", "Cancel"}, 2, kIdCancel};
        case JMessageButtons::YesNo:
            return ButtonRow{{kIdYes, kIdNo}, {"Yes", "No"}, 2, kIdNo};
        case JMessageButtons::Ok:
            break;
    }
    return ButtonRow{};
}

// Makes the hidden window with its text and buttons; returns the default button.
JWnd BuildBox(JWnd box, const JMessageBoxSpec& spec, const std::vector<std::string>& lines,
              const JRect& client) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    const int textLeft = spec.icon != JMessageIcon::None ? kMargin * 2 + kIconSize : kMargin;
    const int textHeight = static_cast<int>(lines.size()) * JControlLineHeight();
    JControlSpec label;
    label.parent = box;
    label.bounds = JRect{textLeft, kMargin, client.right - kMargin, kMargin + textHeight};
    label.id = kIdText;
    label.text = text.c_str();
    JCreateStaticText(label);

    const ButtonRow row = ButtonsFor(spec.buttons);
    const int rowWidth = row.count * kButtonWidth + (row.count - 1) * kButtonGap;
    int left = (client.Width() - rowWidth) / 2;
    const int top = client.bottom - kMargin - kButtonHeight;
    const int chosen = std::clamp(spec.defaultButton, 0, row.count - 1);
    JWnd defaultButton = kNoWindow;
    for (int i = 0; i < row.count; ++i) {
        JControlSpec button;
        button.parent = box;
        button.bounds = JRect{left, top, left + kButtonWidth, top + kButtonHeight};
        button.id = row.ids[i];
        button.text = row.labels[i];
        button.style = i == chosen ? kBsDefault : 0;
        const JWnd made = JCreatePushButton(button);
        defaultButton = i == chosen ? made : defaultButton;
        left += kButtonWidth + kButtonGap;
    }
    return defaultButton;
}

JWnd CreateBox(const JMessageBoxSpec& spec, JWnd* defaultButton) {
    const std::vector<std::string> lines = WrapText(spec.text, kMaxTextWidth);
    int textWidth = 0;
    for (const std::string& line : lines) {
        textWidth = std::max(textWidth, JControlMeasure(line).width);
    }
    const bool hasIcon = spec.icon != JMessageIcon::None;
    const int textHeight = static_cast<int>(lines.size()) * JControlLineHeight();
    const int width = std::max({textWidth + kMargin * 2 + (hasIcon ? kIconSize + kMargin : 0),
                                2 * kButtonWidth + kButtonGap + kMargin * 2, 200});
    const int height = std::max(textHeight, hasIcon ? kIconSize : 0) + kButtonHeight + kMargin * 3;
    const JWnd box = JCreateModalDialog(kMessageBoxClass, BoxProc, spec.title, 0, width, height);
    if (box == kNoWindow) {
        return kNoWindow;
    }
    BoxState* state = Boxes().Add(box);
    state->icon = spec.icon;
    state->escapeAnswer = ButtonsFor(spec.buttons).escapeAnswer;
    *defaultButton = BuildBox(box, spec, lines, JRect{0, 0, width, height});
    return box;
}

}  // namespace

int JMessageBox(const JMessageBoxSpec& spec) {
    JWnd defaultButton = kNoWindow;
    const JWnd box = CreateBox(spec, &defaultButton);
    if (box == kNoWindow) {
        return ButtonsFor(spec.buttons).escapeAnswer;
    }
    OpenBoxes().push_back(box);
    JShowWindow(box);
    JSetFocus(defaultButton);
    const int escapeAnswer = ButtonsFor(spec.buttons).escapeAnswer;
    const int answer = JRunModalLoop(box, &Boxes().Find(box)->answer, escapeAnswer);
    OpenBoxes().erase(std::remove(OpenBoxes().begin(), OpenBoxes().end(), box), OpenBoxes().end());
    Boxes().Remove(box);
    JDestroyWindow(box);
    return answer;
}

JWnd JCurrentMessageBox() {
    return OpenBoxes().empty() ? kNoWindow : OpenBoxes().back();
}
