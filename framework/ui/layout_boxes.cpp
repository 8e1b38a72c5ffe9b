#include "framework/ui/layout_boxes.h"

#include <algorithm>
#include <vector>

#include "framework/ui/control_drawing.h"

namespace {

struct LayoutBox : JKindRecord {
    std::vector<JControl*> children;
    int orientation = kBoxRow;
    int alignment = kAlignCentre;
    int spacing = 2;
    bool packed = false;
    bool spreadAround = true;
    bool framed = true;
    bool filled = false;
    JColour fill = kColourWhite;
    int naturalWidth = 16;
    int naturalHeight = 16;
};

LayoutBox* BoxOf(JControl* box) {
    return JKindDataOf<LayoutBox>(box);
}

// When the box shows, only its visible children count; a hidden box counts
// them all, so that it can be measured before it is shown.
bool Counts(const JControl* box, const JControl* child) {
    return !box->Visible() || child->Visible();
}

int MainOf(const LayoutBox& box, const JControl* child) {
    return box.orientation == kBoxRow ? child->width : child->height;
}

int CrossOf(const LayoutBox& box, const JControl* child) {
    return box.orientation == kBoxRow ? child->height : child->width;
}

void ComputeNaturalSize(JControl* control) {
    LayoutBox* box = BoxOf(control);
    int count = 0;
    int main = 0;
    int cross = 0;
    for (const JControl* child : box->children) {
        if (!Counts(control, child)) {
            continue;
        }
        main += MainOf(*box, child);
        cross = std::max(cross, CrossOf(*box, child));
        ++count;
    }
    if (count == 0) {
        box->naturalWidth = box->naturalHeight = 16;
        return;
    }
    main += box->spacing * (count - 1);
    const int frame = box->framed ? 4 : 0;
    box->naturalWidth = (box->orientation == kBoxRow ? main : cross) + frame;
    box->naturalHeight = (box->orientation == kBoxRow ? cross : main) + frame;
}

void PlaceChild(JControl* child, int left, int top) {
    if (child->left != left || child->top != top) {
        child->kind->setPosition(child, left, top);
    }
}

void LayOut(JControl* control) {
    LayoutBox* box = BoxOf(control);
    const bool row = box->orientation == kBoxRow;
    const int frame = box->framed ? 2 : 0;
    int count = 0;
    for (const JControl* child : box->children) {
        count += Counts(control, child) ? 1 : 0;
    }
    const int mainSize = row ? control->width : control->height;
    const int naturalMain = row ? box->naturalWidth : box->naturalHeight;
    const int spare = std::max(0, mainSize - naturalMain);
    int gap = 0;
    if (!box->packed && count > 0) {
        gap = box->spreadAround || count < 2 ? spare / (count + 1) : spare / (count - 1);
    }
    const int mainStart = row ? control->left : control->top;
    const int mainEnd = mainStart + mainSize;
    const int crossStart = row ? control->top : control->left;
    const int crossSize = row ? control->height : control->width;
    int position = mainStart + frame + (box->spreadAround ? gap : 0);
    for (std::size_t i = 0; i < box->children.size(); ++i) {
        JControl* child = box->children[i];
        if (control->Visible() && !child->Visible()) {
            PlaceChild(child, kParkedPosition, kParkedPosition);
            continue;
        }
        int cross = crossStart + (crossSize - CrossOf(*box, child)) / 2;
        if (box->alignment == kAlignStart) {
            cross = crossStart + frame;
        } else if (box->alignment == kAlignEnd) {
            cross = crossStart + crossSize - CrossOf(*box, child) - frame;
        }
        int main = position;
        if (!box->spreadAround && i + 1 == box->children.size()) {
            main = mainEnd - MainOf(*box, child) - frame;
        }
        PlaceChild(child, row ? main : cross, row ? cross : main);
        position += box->spacing + MainOf(*box, child) + gap;
    }
}

void Relayout(JControl* control) {
    ComputeNaturalSize(control);
    LayOut(control);
    JControlRedraw(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<LayoutBox>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    ComputeNaturalSize(control);
    *width = BoxOf(control)->naturalWidth;
    *height = BoxOf(control)->naturalHeight;
}

void SetSize(JControl* control, int width, int height) {
    ComputeNaturalSize(control);
    LayoutBox* box = BoxOf(control);
    width = width == 0 ? box->naturalWidth : width;
    height = height == 0 ? box->naturalHeight : height;
    if (width != control->width || height != control->height) {
        JControlRedraw(control);
        control->width = static_cast<std::int16_t>(width);
        control->height = static_cast<std::int16_t>(height);
        JControlRedraw(control);
    }
    LayOut(control);
}

// Moving the box moves its children by as much.
void SetPosition(JControl* control, int left, int top) {
    const int dx = left - control->left;
    const int dy = top - control->top;
    JDefaultSetPosition(control, left, top);
    for (JControl* child : BoxOf(control)->children) {
        if (!control->Visible() || child->Visible()) {  // parked children stay parked
            child->kind->setPosition(child, child->left + dx, child->top + dy);
        }
    }
}

void Draw(JControl* control) {
    const LayoutBox* box = BoxOf(control);
    const JRect rect = control->Rect();
    if (box->filled) {
        JFillArea(JUiInset(rect, box->framed ? 2 : 0),
                  JDisplayDepth() > 1 ? box->fill : kColourWhite);
    }
    if (box->framed) {
        // An etched groove: a shadow line with a lit line inside it.
        JFrameArea(JRect{rect.left, rect.top, rect.right - 1, rect.bottom - 1}, JUiShadow());
        JUiRing(JRect{rect.left + 1, rect.top + 1, rect.right, rect.bottom}, JUiWhite(),
                JUiWhite());
        JSetForeColour(JUiShadow());
        JDrawLine(rect.right - 2, rect.top + 1, rect.right - 2, rect.bottom - 2);
        JDrawLine(rect.left + 1, rect.bottom - 2, rect.right - 2, rect.bottom - 2);
    }
    JDrawControls(box->children);
}

JControl* HitTest(JControl* control, int x, int y) {
    return JControlHitChildren(control, BoxOf(control)->children, x, y);
}

void AddChild(JControl* control, JControl* child) {
    BoxOf(control)->children.push_back(child);
    SetSize(control, control->width, control->height);
}

void RemoveChild(JControl* control, JControl* child) {
    auto& children = BoxOf(control)->children;
    children.erase(std::remove(children.begin(), children.end(), child), children.end());
    Relayout(control);
}

void ChildResized(JControl* control, JControl* child, int width, int height) {
    child->kind->setSize(child, width, height);
    Relayout(control);
}

void ChildMoved(JControl* control, JControl*, int, int) {
    LayOut(control);  // the box places its children itself
}

void ShowOrHide(JControl* control) {
    JContainerShowNative(BoxOf(control)->children, control->Visible());
    Relayout(control);
}

void Destroy(JControl* control) {
    // Children go with their box.
    const std::vector<JControl*> children = BoxOf(control)->children;
    BoxOf(control)->children.clear();
    for (JControl* child : children) {
        child->container = nullptr;
        JControlDelete(child);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("layout box");
    kind.create = Create;
    kind.destroy = Destroy;
    kind.hitTest = HitTest;
    kind.draw = Draw;
    kind.setSize = SetSize;
    kind.setPosition = SetPosition;
    kind.naturalSize = NaturalSize;
    kind.show = ShowOrHide;
    kind.hide = ShowOrHide;
    kind.addChild = AddChild;
    kind.removeChild = RemoveChild;
    kind.childResized = ChildResized;
    kind.childMoved = ChildMoved;
    return kind;
}

}  // namespace

const ControlKind* JLayoutBoxKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JContainerShowNative(const std::vector<JControl*>& children, bool shown) {
    for (JControl* child : children) {
        if (child->platform != kNoWindow) {
            if (shown && child->Visible()) {
                JShowWindow(child->platform, false);
            } else {
                JHideWindow(child->platform);
            }
        }
    }
}

void JBoxSetFramed(JControl* box, bool framed) {
    BoxOf(box)->framed = framed;
    Relayout(box);
}

void JBoxSetLayout(JControl* box, int orientation, int alignment) {
    BoxOf(box)->orientation = orientation;
    BoxOf(box)->alignment = alignment;
    Relayout(box);
}

void JBoxSetAlignment(JControl* box, int alignment) {
    JBoxSetLayout(box, BoxOf(box)->orientation, alignment);
}

void JBoxSetOrientation(JControl* box, int orientation) {
    JBoxSetLayout(box, orientation, BoxOf(box)->alignment);
}

void JBoxSetPacked(JControl* box, bool packed) {
    BoxOf(box)->packed = packed;
    Relayout(box);
}

void JBoxSetSpreadAround(JControl* box, bool spreadAround) {
    BoxOf(box)->spreadAround = spreadAround;
    Relayout(box);
}

void JBoxSetSpacing(JControl* box, int spacing) {
    BoxOf(box)->spacing = spacing;
    Relayout(box);
}

void JBoxSetFill(JControl* box, JColour colour) {
    BoxOf(box)->fill = colour;
    if (BoxOf(box)->filled) {
        JControlRedraw(box);
    }
}

void JBoxSetFilled(JControl* box, bool filled) {
    if (BoxOf(box)->filled != filled) {
        BoxOf(box)->filled = filled;
        JControlRedraw(box);
    }
}

JControl* JBoxChildAt(JControl* box, int index) {
    const auto& children = BoxOf(box)->children;
    return index >= 0 && index < static_cast<int>(children.size())
               ? children[static_cast<std::size_t>(index)]
               : nullptr;
}

int JBoxChildCount(JControl* box) {
    return static_cast<int>(BoxOf(box)->children.size());
}

void JBoxInnerSize(JControl* box, int* width, int* height) {
    const int frame = BoxOf(box)->framed ? 4 : 0;
    *width = box->width - frame;
    *height = box->height - frame;
}
