#include "framework/ui/controls.h"

#include <algorithm>

#include "framework/ui/control_drawing.h"

namespace {

void NoOperation(JControl*) {}

void RedrawOnly(JControl* control) {
    JControlRedraw(control);
}

bool NoKey(JControl*, const JKeyRecord&) {
    return false;
}

void NoNaturalSize(JControl* control, int* width, int* height) {
    *width = control->width;
    *height = control->height;
}

std::vector<JControl*>& SiblingList(JControl* control) {
    return control->owner->controls;
}

void Remove(std::vector<JControl*>& list, JControl* control) {
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
}

JControl* MakeControl(const ControlKind* kind, JWindow* window, JControl* container, int left,
                      int top) {
    auto record = std::make_unique<JControl>();
    JControl* control = record.get();
    control->owner = window;
    control->container = container;
    control->kind = kind;
    control->left = static_cast<std::int16_t>(left);
    control->top = static_cast<std::int16_t>(top);
    window->ownedControls.push_back(std::move(record));
    return control;
}

void ForgetInput(JControl* control) {
    JWindow* window = control->owner;
    if (window->mouseOwner == control) {
        window->mouseOwner = nullptr;
        if (JCaptureWindow() == window->platform) {
            JReleaseCapture();
        }
    }
    if (window->keyFocus == control) {
        window->keyFocus = nullptr;
    }
    if (window->hot == control) {
        window->hot = nullptr;
    }
    if (control->platform != kNoWindow && JFocusWindow() == control->platform &&
        !window->Destroyed()) {
        JSetFocus(window->platform);
    }
}

// The parent is invalidated where a native control was once it has moved:
// the area it leaves must be drawn by the parent again.
void MoveNative(JControl* control, const JRect& before) {
    if (control->platform == kNoWindow) {
        return;
    }
    JMoveWindow(control->platform, control->Rect());
    if (!control->owner->Destroyed()) {
        JInvalidateRect(control->owner->platform, &before);
    }
}

}  // namespace

void JDefaultSetSize(JControl* control, int width, int height) {
    if (width == 0 || height == 0) {
        int naturalWidth = 0;
        int naturalHeight = 0;
        JControlNaturalSize(control, &naturalWidth, &naturalHeight);
        width = width == 0 ? naturalWidth : width;
        height = height == 0 ? naturalHeight : height;
    }
    JControlRedraw(control);
    const JRect before = control->Rect();
    control->width = static_cast<std::int16_t>(width);
    control->height = static_cast<std::int16_t>(height);
    MoveNative(control, before);
    JControlRedraw(control);
}

void JDefaultSetPosition(JControl* control, int left, int top) {
    JControlRedraw(control);
    const JRect before = control->Rect();
    control->left = static_cast<std::int16_t>(left);
    control->top = static_cast<std::int16_t>(top);
    MoveNative(control, before);
    JControlRedraw(control);
}

ControlKind JControlKindDefaults(const char* name) {
    ControlKind kind;
    kind.name = name;
    kind.create = NoOperation;
    kind.destroy = NoOperation;
    kind.focusGained = NoOperation;
    kind.focusLost = NoOperation;
    kind.mouseEntered = NoOperation;
    kind.mouseLeft = NoOperation;
    kind.keyDown = NoKey;
    kind.keyUp = NoKey;
    kind.setSize = JDefaultSetSize;
    kind.setPosition = JDefaultSetPosition;
    kind.naturalSize = NoNaturalSize;
    kind.hide = RedrawOnly;
    kind.show = RedrawOnly;
    kind.enable = RedrawOnly;
    kind.disable = RedrawOnly;
    return kind;
}

JControl* JControlNew(const ControlKind* kind, JWindow* window, int left, int top) {
    JControl* control = MakeControl(kind, window, nullptr, left, top);
    window->controls.push_back(control);
    if (kind->create != nullptr) {
        kind->create(control);
    }
    return control;
}

JControl* JControlNewIn(const ControlKind* kind, JControl* container, int left, int top) {
    JControl* control = MakeControl(kind, container->owner, container, left, top);
    control->flags |= kControlContained;
    if (kind->create != nullptr) {
        kind->create(control);
    }
    if (container->kind->addChild != nullptr) {
        container->kind->addChild(container, control);
    }
    return control;
}

void JControlMove(JControl* control, int left, int top) {
    if (control->Deleted()) {
        return;
    }
    if (control->container != nullptr && control->container->kind->childMoved != nullptr) {
        control->container->kind->childMoved(control->container, control, left, top);
    } else if (control->kind->setPosition != nullptr) {
        control->kind->setPosition(control, left, top);
    }
}

void JControlResize(JControl* control, int width, int height) {
    if (control->Deleted() || (width == control->width && height == control->height)) {
        return;
    }
    if (control->container != nullptr && control->container->kind->childResized != nullptr) {
        control->container->kind->childResized(control->container, control, width, height);
    } else if (control->kind->setSize != nullptr) {
        control->kind->setSize(control, width, height);
    }
}

void JControlNaturalSize(JControl* control, int* width, int* height) {
    *width = control->width;
    *height = control->height;
    if (control->kind->naturalSize != nullptr) {
        control->kind->naturalSize(control, width, height);
    }
}

void JControlShow(JControl* control) {
    if (control->Deleted() || control->Visible()) {
        return;
    }
    control->flags |= kControlVisible;
    if (control->platform != kNoWindow) {
        JShowWindow(control->platform, false);
    }
    if (control->kind->show != nullptr) {
        control->kind->show(control);
    }
}

void JControlHide(JControl* control) {
    if (control->Deleted() || !control->Visible()) {
        return;
    }
    control->flags &= ~kControlVisible;
    if (control->platform != kNoWindow) {
        JHideWindow(control->platform);
    }
    if (control->kind->hide != nullptr) {
        control->kind->hide(control);
    }
}

void JControlEnable(JControl* control, bool enabled) {
    if (control->Deleted() || control->Enabled() == enabled) {
        return;
    }
    control->flags ^= kControlEnabled;
    if (control->platform != kNoWindow) {
        JEnableWindow(control->platform, enabled);
    }
    auto operation = enabled ? control->kind->enable : control->kind->disable;
    if (operation != nullptr) {
        operation(control);
    }
}

void JControlFocus(JControl* control) {
    if (control->Deleted()) {
        return;
    }
    JWindow* window = control->owner;
    JControl* previous = window->keyFocus;
    if (previous == control) {
        return;
    }
    window->keyFocus = control;
    if (previous != nullptr && !previous->Deleted() && previous->kind->focusLost != nullptr) {
        previous->kind->focusLost(previous);
    }
    if (control->platform != kNoWindow) {
        JSetFocus(control->platform);
    } else if (control->kind->focusGained != nullptr) {
        control->kind->focusGained(control);
    }
}

void JControlDelete(JControl* control) {
    if (control == nullptr || control->Deleted()) {
        return;
    }
    control->flags |= kControlDeleted;
    JControlRedraw(control);
    control->flags &= ~kControlVisible;
    if (control->platform != kNoWindow) {
        JHideWindow(control->platform);
    }
    JWindow* window = control->owner;
    if (control->container == nullptr) {
        Remove(SiblingList(control), control);
    }
    ForgetInput(control);
    // Hooks run last added first; one may remove another.
    while (!control->releaseHooks.empty()) {
        const auto hook = control->releaseHooks.back();
        control->releaseHooks.pop_back();
        hook.first(control, hook.second);
    }
    if (control->container != nullptr && !control->container->Deleted() &&
        control->container->kind->removeChild != nullptr) {
        control->container->kind->removeChild(control->container, control);
    }
    if (control->kind->destroy != nullptr) {
        control->kind->destroy(control);
    }
    // The native window goes when the record does: its own procedure may be
    // the one that called us.
    control->properties.clear();
    control->properties.shrink_to_fit();
    auto& owned = window->ownedControls;
    auto it = std::find_if(owned.begin(), owned.end(),
                           [control](const auto& c) { return c.get() == control; });
    if (it != owned.end()) {
        JHoldDeletedControl(std::move(*it));
        owned.erase(it);
    }
}

void JControlDeleteAll(JWindow* window) {
    // Contained controls go with their containers' kind data; the records
    // are deleted from the newest to the oldest.
    while (!window->ownedControls.empty()) {
        JControlDelete(window->ownedControls.back().get());
    }
}

void JControlAddReleaseHook(JControl* control, JReleaseHook hook, void* data) {
    control->releaseHooks.emplace_back(hook, data);
}

void JControlRemoveReleaseHook(JControl* control, JReleaseHook hook, void* data) {
    auto& hooks = control->releaseHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if (it->first == hook && it->second == data) {
            hooks.erase(std::next(it).base());
            return;
        }
    }
}

void JControlSetProperty(JControl* control, std::uintptr_t key, std::intptr_t value) {
    for (auto& property : control->properties) {
        if (property.first == key) {
            property.second = value;
            return;
        }
    }
    control->properties.emplace_back(key, value);
}

std::intptr_t JControlGetProperty(const JControl* control, std::uintptr_t key) {
    for (const auto& property : control->properties) {
        if (property.first == key) {
            return property.second;
        }
    }
    return 0;
}

bool JControlHasProperty(const JControl* control, std::uintptr_t key) {
    return std::any_of(control->properties.begin(), control->properties.end(),
                       [key](const auto& property) { return property.first == key; });
}

std::intptr_t JControlTakeProperty(JControl* control, std::uintptr_t key) {
    auto& properties = control->properties;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (it->first == key) {
            const std::intptr_t value = it->second;
            properties.erase(it);
            return value;
        }
    }
    return 0;
}

void JControlRedraw(const JControl* control) {
    if (control->owner == nullptr || control->owner->Destroyed()) {
        return;
    }
    if (control->platform != kNoWindow) {
        JInvalidateRect(control->platform, nullptr);
    }
    // A native control's old place in its window must be drawn again too.
    const JRect rect = control->Rect();
    JInvalidateRect(control->owner->platform, &rect);
}

static bool Hits(const JControl* control, int x, int y) {
    return control->Visible() && control->Enabled() && !control->Deleted() && x >= control->left &&
           x <= control->left + control->width - 1 && y >= control->top &&
           y <= control->top + control->height - 1;
}

JControl* JControlAt(JWindow* window, int x, int y) {
    const auto& controls = window->controls;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        JControl* control = *it;
        if (!Hits(control, x, y)) {
            continue;
        }
        if (control->kind->hitTest != nullptr) {
            return control->kind->hitTest(control, x, y);
        }
        return control;
    }
    return nullptr;
}

JControl* JControlHitChildren(JControl* container, const std::vector<JControl*>& children, int x,
                              int y) {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        JControl* child = *it;
        if (!Hits(child, x, y)) {
            continue;
        }
        if (child->kind->hitTest != nullptr) {
            return child->kind->hitTest(child, x, y);
        }
        return child;
    }
    return container;
}

void JDrawControls(const std::vector<JControl*>& controls) {
    for (JControl* control : controls) {
        if (control->Deleted() || !control->Visible() || control->kind->draw == nullptr ||
            control->owner->Destroyed()) {
            continue;
        }
        JDrawControl(control);
    }
}

JControl* JControlOfPlatform(JWindow* window, JWnd platform) {
    for (const auto& control : window->ownedControls) {
        if (control->platform == platform && platform != kNoWindow) {
            return control.get();
        }
    }
    return nullptr;
}
