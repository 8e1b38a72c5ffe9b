#include "framework/ui/multi_line_labels.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/control_drawing.h"

namespace {

struct MultiLineLabel : JKindRecord {
    std::vector<std::string> lines;
};

MultiLineLabel* LabelOf(JControl* control) {
    return JKindDataOf<MultiLineLabel>(control);
}

int TextWidth(const std::string& text) {
    int width = 0;
    int height = 0;
    JUiMeasureText(text.c_str(), &width, &height);
    return width;
}

int LineHeight() {
    int width = 0;
    int height = 0;
    JUiMeasureText("Ag", &width, &height);
    return height;
}

void WrapParagraph(const std::string& paragraph, int wrapWidth, std::vector<std::string>& lines) {
    if (wrapWidth <= 0) {
        lines.push_back(paragraph);
        return;
    }
    std::string line;
    std::size_t at = 0;
    while (at <= paragraph.size()) {
        std::size_t blank = paragraph.find(' ', at);
        if (blank == std::string::npos) {
            blank = paragraph.size();
        }
        const std::string word = paragraph.substr(at, blank - at);
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(longer) > wrapWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        at = blank + 1;
    }
    lines.push_back(line);
}

std::vector<std::string> BreakText(const std::string& text, int wrapWidth) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string paragraph = text.substr(at, end - at);
        if (!paragraph.empty() && paragraph.back() == '\r') {
            paragraph.pop_back();
        }
        WrapParagraph(paragraph, wrapWidth, lines);
        at = end + 1;
    }
    return lines;
}

void Create(JControl* control) {
    control->kindData = std::make_unique<MultiLineLabel>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    const MultiLineLabel* label = LabelOf(control);
    int widest = 0;
    for (const std::string& line : label->lines) {
        widest = std::max(widest, TextWidth(line));
    }
    *width = widest;
    *height = static_cast<int>(label->lines.size()) * LineHeight();
}

void Draw(JControl* control) {
    int top = control->top;
    for (const std::string& line : LabelOf(control)->lines) {
        JUiDrawText(control->left, top, line.c_str(), JUiBlack(), control->Enabled());
        top += LineHeight();
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("multi-line label");
    kind.create = Create;
    kind.naturalSize = NaturalSize;
    kind.draw = Draw;
    return kind;
}

}  // namespace

const ControlKind* JMultiLineLabelKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JMultiLineLabelSetText(JControl* label, const char* text, int wrapWidth) {
    LabelOf(label)->lines = BreakText(text != nullptr ? text : "", wrapWidth);
    JControlResize(label, 0, 0);
    JControlRedraw(label);
}

int JMultiLineLabelLineCount(JControl* label) {
    return static_cast<int>(LabelOf(label)->lines.size());
}

const char* JMultiLineLabelLine(JControl* label, int index) {
    const auto& lines = LabelOf(label)->lines;
    return index >= 0 && index < static_cast<int>(lines.size())
               ? lines[static_cast<std::size_t>(index)].c_str()
               : nullptr;
}
