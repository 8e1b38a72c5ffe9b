#include "framework/ui/alert_windows.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "framework/ui/event_loop.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/multi_line_labels.h"
#include "framework/ui/picture_controls.h"
#include "framework/ui/push_buttons.h"

namespace {

// Long messages wrap at this width rather than make a window across the screen.
constexpr int kWrapWidth = 340;

struct AlertRecord {
    JWindow* window = nullptr;
    AlertCallback callback = nullptr;
    void* data = nullptr;
    JControl* first = nullptr;
    JControl* second = nullptr;
    JControl* third = nullptr;  // a three-way choice: the button Escape presses
    int* chosenOut = nullptr;   // where a waiting caller wants the button pressed: 0, 1 or 2
    JControl* picture = nullptr;
    JControl* message = nullptr;
};

std::vector<std::unique_ptr<AlertRecord>>& Alerts() {
    static std::vector<std::unique_ptr<AlertRecord>> alerts;
    return alerts;
}

AlertRecord* RecordOf(JWindow* window) {
    for (const auto& alert : Alerts()) {
        if (alert->window == window) {
            return alert.get();
        }
    }
    return nullptr;
}

// --- answering ---

// The record goes with its window, however the window goes.
void ForgetAlert(JControl*, void* data) {
    auto& alerts = Alerts();
    alerts.erase(std::remove_if(alerts.begin(), alerts.end(),
                                [data](const auto& alert) { return alert.get() == data; }),
                 alerts.end());
}

// The button Escape and the close box press: the third of three, the second
// of two; none of one.
JControl* CancelButton(const AlertRecord* record) {
    return record->third != nullptr ? record->third : record->second;
}

void Answer(AlertRecord* record, const JControl* button) {
    const int chosen = button == record->first ? 0 : button == record->second ? 1 : 2;
    if (record->chosenOut != nullptr) {
        *record->chosenOut = chosen;
    }
    const AlertCallback callback = record->callback;
    void* data = record->data;
    const bool firstButton = chosen == 0;
    JWindowDestroy(record->window);
    if (callback != nullptr) {
        callback(data, firstButton);
    }
}

void ButtonPressed(JControl* button) {
    Answer(static_cast<AlertRecord*>(button->userData), button);
}

char FirstLetter(const JControl* button) {
    const char* label = JButtonLabel(const_cast<JControl*>(button));
    return static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
}

bool AlertKey(JWindow* window, const JHandlerEvent& event) {
    AlertRecord* record = RecordOf(window);
    if (record == nullptr) {
        return false;
    }
    const std::uint16_t key = event.key.key;
    const char typed = static_cast<char>(std::toupper(event.key.character));
    if (key == kKeyReturn || typed == '\r') {
        Answer(record, record->first);
        return true;
    }
    if (key == kKeyEscape || typed == 27) {
        if (CancelButton(record) != nullptr) {
            Answer(record, CancelButton(record));
        }
        return true;
    }
    for (JControl* button : {record->first, record->second, record->third}) {
        if (button != nullptr && typed != 0 && typed == FirstLetter(button)) {
            Answer(record, button);
            break;
        }
    }
    return true;
}

// The close box answers as Escape would, or with the only button.
bool AlertClose(JWindow* window, const JHandlerEvent&) {
    if (AlertRecord* record = RecordOf(window)) {
        Answer(record, CancelButton(record) != nullptr ? CancelButton(record) : record->first);
    }
    return true;
}

// --- building ---

JControl* NewButton(JWindow* window, AlertRecord* record, const char* label) {
    JControl* button = JControlNew(JPushButtonKind(), window, 0, 0);
    JButtonSetLabel(button, label);
    JButtonSetAction(button, ButtonPressed);
    button->userData = record;
    JControlResize(button, 0, 0);
    JControlShow(button);
    return button;
}

void PlaceAtBottom(JControl* control, int left, int windowHeight) {
    JControlMove(control, left, windowHeight - 4 - control->height);
}

void Layout(AlertRecord* record) {
    JControl* message = record->message;
    JControl* first = record->first;
    JControl* second = record->second;
    JControl* picture = record->picture;
    const int messageWidth = message->width;
    int width = 0;
    if (record->third != nullptr) {
        width =
            std::max(first->width + second->width + record->third->width + 40, messageWidth + 60);
    } else if (second != nullptr) {
        width = std::max(first->width + second->width + 24, messageWidth + 60);
    } else {
        width = std::max<int>(first->width, messageWidth) + 60;
    }
    const int messageBottom = 4 + message->height;
    const int height = std::max(36, messageBottom) + first->height + 8;
    JWindowResize(record->window, width, height);
    JControlMove(message, (width - 60 - messageWidth) / 2 + 50, 4);
    if (record->third != nullptr) {
        // Save at the right, Cancel beside it, Don't Save apart at the left.
        JControlMove(picture, 4, (height - first->height - picture->height - 8) / 2);
        PlaceAtBottom(first, width - 12 - first->width, height);
        PlaceAtBottom(record->third, first->left - 8 - record->third->width, height);
        PlaceAtBottom(second, 12, height);
    } else if (second != nullptr) {
        JControlMove(picture, 4, (height - first->height - picture->height - 8) / 2);
        const int gap = (width - first->width - second->width) / 3;
        PlaceAtBottom(first, width - gap - first->width, height);
        JControlMove(second, gap, first->top + (first->height - second->height) / 2);
    } else {
        JControlMove(picture, 4, (height - picture->height) / 3);
        PlaceAtBottom(first, (width + 36 - first->width) / 2, height);
    }
    const JRect desk = JDeskRect();
    JWindowMoveTo(record->window, desk.left + (desk.Width() - record->window->width) / 2,
                  desk.top + (desk.Height() - record->window->height) / 2);
}

// The button pressed (0, 1 or 2); -1 when the alert went without an answer.
int Wait(JWindow* alert, bool restricted) {
    AlertRecord* record = RecordOf(alert);
    if (record == nullptr) {
        return -1;
    }
    int chosen = -1;
    record->callback = nullptr;
    record->chosenOut = &chosen;
    JWindowShow(alert);
    JRunModal(alert, restricted);
    return chosen;
}

bool DriverAsk(AlertKind kind, const char* message, const char* first, const char* second) {
    return JAlertAsk(nullptr, kind, message, first, second);
}

void DriverTell(AlertKind kind, const char* message, const char* first, const char* second,
                AlertCallback callback, void* data) {
    JAlertTell(nullptr, kind, message, first, second, callback, data);
}

void DriverBeep() {
    JBackendCurrent().beep();
}

constexpr AlertDriver kWindowAlerts{DriverAsk, DriverTell, DriverBeep};

}  // namespace

JWindow* JAlertBuild(JWindow* parent, const char* title, AlertKind kind, const char* message,
                     const char* first, const char* second, AlertCallback callback, void* data) {
    auto owned = std::make_unique<AlertRecord>();
    AlertRecord* record = owned.get();
    Alerts().push_back(std::move(owned));
    JWindow* window = JWindowNew(parent, title != nullptr ? title : "", kWindowModal);
    record->window = window;
    record->callback = callback;
    record->data = data;
    window->userData = record;
    JWindowSetHandler(window, kSlotKeyDown, AlertKey);
    JWindowSetHandler(window, kSlotCloseRequest, AlertClose);

    record->picture = JControlNew(JPictureKind(), window, 4, 4);
    JPictureSetNumber(record->picture, static_cast<int>(kind));
    JControlAddReleaseHook(record->picture, ForgetAlert, record);
    JControlShow(record->picture);

    record->message = JControlNew(JMultiLineLabelKind(), window, 50, 4);
    JMultiLineLabelSetText(record->message, message, kWrapWidth);
    JControlShow(record->message);

    record->first = NewButton(window, record, first != nullptr ? first : "");
    JButtonSetDefault(record->first, true);
    if (second != nullptr) {
        record->second = NewButton(window, record, second);
    }
    Layout(record);
    return window;
}

bool JAlertAsk(JWindow* parent, AlertKind kind, const char* message, const char* first,
               const char* second) {
    return Wait(JAlertBuild(parent, nullptr, kind, message, first, second, nullptr, nullptr),
                false) == 0;
}

int JAlertChoose(JWindow* parent, AlertKind kind, const char* message, const char* first,
                 const char* second, const char* third) {
    JWindow* alert = JAlertBuild(parent, nullptr, kind, message, first, second, nullptr, nullptr);
    if (AlertRecord* record = RecordOf(alert)) {
        record->third = NewButton(alert, record, third);
        Layout(record);
    }
    const int chosen = Wait(alert, false);
    return chosen < 0 ? 2 : chosen;
}

bool JAlertAskPrebuilt(JWindow* alert) {
    return Wait(alert, true) == 0;
}

void JAlertTell(JWindow* parent, AlertKind kind, const char* message, const char* first,
                const char* second, AlertCallback callback, void* data) {
    JWindow* alert = JAlertBuild(parent, nullptr, kind, message, first, second, callback, data);
    JWindowShow(alert);
    JRepaintNow();
}

void JAlertTellSimply(const char* message, const char* button) {
    JAlertTell(nullptr, AlertKind::Stop, message, button, nullptr, nullptr, nullptr);
}

JControl* JAlertButton(JWindow* alert, int index) {
    AlertRecord* record = RecordOf(alert);
    if (record == nullptr) {
        return nullptr;
    }
    switch (index) {
        case 0:
            return record->first;
        case 1:
            return record->second;
        case 2:
            return record->third;
        default:
            return nullptr;
    }
}

JControl* JAlertPicture(JWindow* alert) {
    AlertRecord* record = RecordOf(alert);
    return record != nullptr ? record->picture : nullptr;
}

JControl* JAlertMessage(JWindow* alert) {
    AlertRecord* record = RecordOf(alert);
    return record != nullptr ? record->message : nullptr;
}

void JUseWindowAlerts() {
    JSetAlertDriver(&kWindowAlerts);
}
