#include "framework/ui/edit_fields.h"

#include <cstdint>
#include <map>
#include <string>

#include "framework/core/strings.h"
#include "framework/ui/edit_target.h"
#include "framework/ui/native_controls.h"
#include "framework/ui/timers.h"

namespace {

struct EditField : JKindRecord {
    std::string text;  // the copy JEditFieldText hands out
    bool multiLine = false;
    JEditBeginCallback begin = nullptr;
    JEditEntryHandler entry = nullptr;
    std::intptr_t option = 0;
    JWindowProc nativeProc = nullptr;
    bool editing = false;
    JEditTarget previousTarget;
};

struct EditingState {
    std::map<JWnd, JControl*> fields;  // native window to its control
    JControl* editing = nullptr;
    // Each field that begins editing starts its own blink; a blink of an
    // earlier generation ends at its next tick. No timer is held, so none
    // can be left pointing at a timer that is gone.
    std::uintptr_t blinkGeneration = 0;
};

EditingState& Editing() {
    static EditingState state;
    return state;
}

EditField* RecordOf(JControl* field) {
    return JKindDataOf<EditField>(field);
}

void NaturalSize(JControl* control, int* width, int* height) {
    const std::string text = JEditText(control->platform);
    int widest = 0;
    int lines = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        int lineWidth = 0;
        int lineHeight = 0;
        JUiMeasureText(line.c_str(), &lineWidth, &lineHeight);
        widest = std::max(widest, lineWidth);
        ++lines;
        if (end == std::string::npos || !RecordOf(control)->multiLine) {
            break;
        }
        start = end + 1;
    }
    *width = widest + 7;
    *height = lines * JControlLineHeight() + 6;
}

// After a change the field grows to fit its text; it never shrinks.
void GrowToFit(JControl* field) {
    int width = 0;
    int height = 0;
    NaturalSize(field, &width, &height);
    if (width > field->width || height > field->height) {
        JControlResize(field, std::max<int>(width, field->width),
                       std::max<int>(height, field->height));
    }
}

void RecomputeCommands(JControl* field) {
    if (!RecordOf(field)->editing) {
        return;
    }
    int start = 0;
    int end = 0;
    JEditSelection(field->platform, &start, &end);
    unsigned mask = start != end ? kEditCut | kEditCopy : 0;
    if (char* clipboard = JClipboardGetText()) {
        mask |= kEditPaste;
        JStrFree(clipboard);
    }
    JSetEnabledEditCommands(mask);
}

void TargetCommand(void* object, void*, unsigned command) {
    JControl* field = static_cast<JControl*>(object);
    if (field->Deleted()) {
        return;
    }
    switch (command) {
        case kEditCut:
            JEditCut(field->platform);
            break;
        case kEditCopy:
            JEditCopy(field->platform);
            break;
        case kEditPaste:
            JEditPaste(field->platform);
            break;
        default:
            return;  // gaining and losing the role mean nothing here
    }
    GrowToFit(field);
    RecomputeCommands(field);
}

// The caret of the field being edited blinks: shown and hidden in turn.
constexpr std::uint32_t kCaretBlinkMs = 530;

void Blink(void* generation) {
    EditingState& state = Editing();
    JControl* field = state.editing;
    if (reinterpret_cast<std::uintptr_t>(generation) != state.blinkGeneration || field == nullptr ||
        field->Deleted()) {
        return;
    }
    JEditSetCaretShown(field->platform, !JEditCaretShown(field->platform));
    JTimerNew(Blink, generation, kCaretBlinkMs);
}

void StartBlinking() {
    const std::uintptr_t generation = ++Editing().blinkGeneration;
    JTimerNew(Blink, reinterpret_cast<void*>(generation), kCaretBlinkMs);
}

void BeginEditing(JControl* field) {
    EditField* record = RecordOf(field);
    if (record->editing) {
        return;
    }
    if (JControl* other = Editing().editing; other != nullptr && other != field) {
        JEditFieldCommit();
    }
    record->editing = true;
    Editing().editing = field;
    JEditSetCaretShown(field->platform, true);
    StartBlinking();
    field->owner->keyFocus = field;
    const JEditTarget target{TargetCommand, field, nullptr};
    JSetEditTarget(&target, &record->previousTarget);
    RecomputeCommands(field);
    if (record->begin != nullptr) {
        record->begin(field);
    }
}

void EndEditing(JControl* field, const JKeyRecord* key) {
    EditField* record = RecordOf(field);
    if (!record->editing) {
        return;
    }
    record->editing = false;
    if (Editing().editing == field) {
        Editing().editing = nullptr;
    }
    if (field->owner->keyFocus == field) {
        field->owner->keyFocus = nullptr;
    }
    if (JFocusWindow() == field->platform && !field->owner->Destroyed()) {
        JSetFocus(field->owner->platform);
    }
    const JEditTarget previous = record->previousTarget;
    JSetEditTarget(previous.callback != nullptr ? &previous : nullptr, nullptr);
    JSetEnabledEditCommands(0);
    if (record->entry != nullptr) {
        record->entry(field, key);
    }
}

bool IsChange(std::uint16_t key) {
    return key == kKeyBackspace || key == kKeyClear || key == kKeyDelete;
}

bool IsArrow(std::uint16_t key) {
    return key == kKeyLeft || key == kKeyRight || key == kKeyUp || key == kKeyDown;
}

JResult PassOn(JControl* field, JWnd edit, const JMessage& message) {
    const JWindowProc native = RecordOf(field)->nativeProc;
    const JResult result = JCallWindowProc(native, edit, message);
    if (!field->Deleted()) {
        GrowToFit(field);
        RecomputeCommands(field);
    }
    return result;
}

JResult KeyDown(JControl* field, JWnd edit, const JMessage& message) {
    const std::uint16_t key = message.key;
    if (IsChange(key) || IsArrow(key)) {
        return PassOn(field, edit, message);
    }
    JKeyRecord record;
    record.key = key;
    record.modifiers = JUiModifiers(message.modifiers);
    if ((record.modifiers & kUiCommand) != 0) {
        record.character = static_cast<std::uint8_t>(key < 128 ? key : 0);
        if (JOfferShortcut(record)) {
            return 0;
        }
        return PassOn(field, edit, message);  // the field's own Ctrl keys
    }
    if (key == kKeyTab || key == kKeyEscape || (key == kKeyReturn && !RecordOf(field)->multiLine)) {
        record.character = static_cast<std::uint8_t>(key);
        EndEditing(field, &record);
        return 0;
    }
    return PassOn(field, edit, message);
}

JResult FieldProc(JWnd edit, const JMessage& message) {
    auto found = Editing().fields.find(edit);
    if (found == Editing().fields.end()) {
        return JDefWindowProc(edit, message);
    }
    JControl* field = found->second;
    const JWindowProc native = RecordOf(field)->nativeProc;
    switch (message.type) {
        case JMsg::SetFocus: {
            const JResult result = JCallWindowProc(native, edit, message);
            BeginEditing(field);
            return result;
        }
        case JMsg::KillFocus: {
            const JResult result = JCallWindowProc(native, edit, message);
            EndEditing(field, nullptr);
            return result;
        }
        case JMsg::KeyDown:
            return KeyDown(field, edit, message);
        case JMsg::Char:
            // Tab, Escape and Return came as keys; Return makes a line only
            // in a multi-line field.
            if (message.key == kKeyTab || message.key == kKeyEscape ||
                (message.key == kKeyReturn && !RecordOf(field)->multiLine)) {
                return 0;
            }
            return PassOn(field, edit, message);
        case JMsg::MouseUp:
            return PassOn(field, edit, message);
        case JMsg::GetDialogCode:
            return kDlgWantsAll;
        default:
            return JCallWindowProc(native, edit, message);
    }
}

void MakeNative(JControl* control, const char* text) {
    EditField* record = RecordOf(control);
    JControlSpec spec = JNativeSpec(control, text);
    spec.style = record->multiLine ? kEsMultiLine : 0;
    const JWnd native = JCreateEditField(spec);
    JAttachNative(control, native);
    record->nativeProc = JSetWindowProc(native, FieldProc);
    Editing().fields[native] = control;
}

void Create(JControl* control) {
    control->kindData = std::make_unique<EditField>();
    MakeNative(control, "");
}

void Destroy(JControl* control) {
    if (Editing().editing == control) {
        Editing().editing = nullptr;
        RecordOf(control)->editing = false;
        const JEditTarget previous = RecordOf(control)->previousTarget;
        JSetEditTarget(previous.callback != nullptr ? &previous : nullptr, nullptr);
        JSetEnabledEditCommands(0);
    }
    Editing().fields.erase(control->platform);
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("edit field");
    kind.create = Create;
    kind.destroy = Destroy;
    kind.naturalSize = NaturalSize;
    return kind;
}

}  // namespace

const ControlKind* JEditFieldKind() {
    static const ControlKind kind = [] {
        JSetCommitHandler(JEditFieldCommit);
        return MakeKind();
    }();
    return &kind;
}

void JEditFieldSetText(JControl* field, const char* text) {
    RecordOf(field)->text = text != nullptr ? text : "";
    JEditSetText(field->platform, RecordOf(field)->text.c_str());
    JControlRedraw(field);
}

const char* JEditFieldText(JControl* field) {
    EditField* record = RecordOf(field);
    record->text = JEditText(field->platform);
    return record->text.c_str();
}

void JEditFieldSelectAllAndFocus(JControl* field) {
    JEditSelectAll(field->platform);
    JControlFocus(field);
}

void JEditFieldSetMultiLine(JControl* field, bool multiLine) {
    EditField* record = RecordOf(field);
    if (record->multiLine == multiLine) {
        return;
    }
    // The native field takes the style when it is made: make it again.
    const std::string text = JEditText(field->platform);
    const bool focused = JFocusWindow() == field->platform;
    Editing().fields.erase(field->platform);
    JDestroyWindow(field->platform);
    record->multiLine = multiLine;
    MakeNative(field, text.c_str());
    if (field->Visible()) {
        JShowWindow(field->platform, false);
    }
    if (focused) {
        JSetFocus(field->platform);
    }
}

void JEditFieldSetCallbacks(JControl* field, JEditBeginCallback begin, JEditEntryHandler entry) {
    RecordOf(field)->begin = begin;
    RecordOf(field)->entry = entry;
}

void JEditFieldSetOption(JControl* field, std::intptr_t option) {
    RecordOf(field)->option = option;
}

std::intptr_t JEditFieldOption(JControl* field) {
    return RecordOf(field)->option;
}

JControl* JEditFieldEditing() {
    return Editing().editing;
}

void JEditFieldCommit() {
    if (JControl* field = Editing().editing) {
        EndEditing(field, nullptr);
    }
}
