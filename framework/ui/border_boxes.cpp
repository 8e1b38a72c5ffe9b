#include "framework/ui/border_boxes.h"

#include <algorithm>
#include <array>

#include "framework/ui/control_drawing.h"
#include "framework/ui/layout_boxes.h"

namespace {

struct BorderBox : JKindRecord {
    JControl* child = nullptr;
    std::array<int, 4> sides{};  // left, top, right, bottom
    bool filled = false;
    JColour fill = kColourWhite;
};

BorderBox* BoxOf(JControl* box) {
    return JKindDataOf<BorderBox>(box);
}

// The colour of ring `ring` (0 outermost) of a side; the lit sides are the
// top and the left.
JColour RingColour(int style, int ring, bool litSide) {
    switch (style) {
        case 1:
            return JUiBlack();
        case 2: {  // raised
            static const JColour lit[] = {JUiLight(), JUiFace(), JUiFace()};
            static const JColour dark[] = {JUiBlack(), JUiShadow(), JUiFace()};
            return litSide ? lit[ring] : dark[ring];
        }
        case 3:
            return JUiShadow();
        case 4:
        case 5:  // sunken
            if (litSide) {
                return ring == 0 ? JUiShadow() : JUiBlack();
            }
            return ring == 0 ? JUiWhite() : JUiFace();
        case 6:
            return JUiWhite();
        default:
            return JUiFace();
    }
}

JRect InnerOf(JControl* box) {
    const auto& sides = BoxOf(box)->sides;
    return JRect{box->left + JBorderWidth(sides[0]), box->top + JBorderWidth(sides[1]),
                 box->left + box->width - JBorderWidth(sides[2]),
                 box->top + box->height - JBorderWidth(sides[3])};
}

void PlaceChild(JControl* box) {
    JControl* child = BoxOf(box)->child;
    if (child == nullptr) {
        return;
    }
    const JRect inner = InnerOf(box);
    child->kind->setPosition(child, inner.left, inner.top);
    child->kind->setSize(child, std::max(inner.Width(), 1), std::max(inner.Height(), 1));
}

void Create(JControl* control) {
    control->kindData = std::make_unique<BorderBox>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    const auto& sides = BoxOf(control)->sides;
    int childWidth = 16;
    int childHeight = 16;
    if (JControl* child = BoxOf(control)->child) {
        JControlNaturalSize(child, &childWidth, &childHeight);
    }
    *width = childWidth + JBorderWidth(sides[0]) + JBorderWidth(sides[2]);
    *height = childHeight + JBorderWidth(sides[1]) + JBorderWidth(sides[3]);
}

void SetSize(JControl* control, int width, int height) {
    JDefaultSetSize(control, width, height);
    PlaceChild(control);
}

void SetPosition(JControl* control, int left, int top) {
    JDefaultSetPosition(control, left, top);
    PlaceChild(control);
}

void Draw(JControl* control) {
    const BorderBox* box = BoxOf(control);
    const JRect inner = InnerOf(control);
    if (box->filled) {
        JFillArea(inner, JDisplayDepth() > 1 ? box->fill : kColourWhite);
    }
    const int right = control->left + control->width - 1;
    const int bottom = control->top + control->height - 1;
    for (int side = 0; side < 4; ++side) {
        const int style = box->sides[static_cast<std::size_t>(side)];
        if (style > 7) {
            continue;  // a margin
        }
        for (int ring = 0; ring < JBorderWidth(style); ++ring) {
            JSetForeColour(RingColour(style, ring, side < 2));
            const int l = control->left + ring;
            const int t = control->top + ring;
            const int r = right - ring;
            const int b = bottom - ring;
            switch (side) {
                case 0:
                    JDrawLine(l, t, l, b);
                    break;
                case 1:
                    JDrawLine(l, t, r, t);
                    break;
                case 2:
                    JDrawLine(r, t, r, b);
                    break;
                default:
                    JDrawLine(l, b, r, b);
                    break;
            }
        }
    }
    if (box->child != nullptr) {
        JDrawControls({box->child});
    }
}

JControl* HitTest(JControl* control, int x, int y) {
    JControl* child = BoxOf(control)->child;
    return child != nullptr ? JControlHitChildren(control, {child}, x, y) : control;
}

void AddChild(JControl* control, JControl* child) {
    if (JControl* old = BoxOf(control)->child) {
        old->container = nullptr;
        JControlDelete(old);
    }
    BoxOf(control)->child = child;
    PlaceChild(control);
}

void RemoveChild(JControl* control, JControl* child) {
    if (BoxOf(control)->child == child) {
        BoxOf(control)->child = nullptr;
    }
}

void ChildResized(JControl* control, JControl*, int, int) {
    PlaceChild(control);  // the child fills the box
}

void ShowOrHide(JControl* control) {
    if (JControl* child = BoxOf(control)->child) {
        JContainerShowNative({child}, control->Visible());
    }
    JControlRedraw(control);
}

void Destroy(JControl* control) {
    if (JControl* child = BoxOf(control)->child) {
        BoxOf(control)->child = nullptr;
        child->container = nullptr;
        JControlDelete(child);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("border box");
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
    kind.childMoved = ChildResized;
    return kind;
}

}  // namespace

const ControlKind* JBorderBoxKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

int JBorderWidth(int style) {
    static constexpr int kWidths[] = {0, 1, 3, 1, 2, 2, 1, 1};
    if (style < 0) {
        return 0;
    }
    return style <= 7 ? kWidths[style] : style;
}

void JBorderBoxSetSides(JControl* box, int left, int top, int right, int bottom) {
    BoxOf(box)->sides = {left, top, right, bottom};
    SetSize(box, box->width, box->height);
    JControlRedraw(box);
}

void JBorderBoxInnerRect(JControl* box, JRect* inner) {
    *inner = InnerOf(box);
}

void JBorderBoxSetFill(JControl* box, JColour colour) {
    BoxOf(box)->fill = colour;
    if (BoxOf(box)->filled) {
        JControlRedraw(box);
    }
}

void JBorderBoxSetFilled(JControl* box, bool filled) {
    if (BoxOf(box)->filled != filled) {
        BoxOf(box)->filled = filled;
        JControlRedraw(box);
    }
}
