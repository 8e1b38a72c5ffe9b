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

void Answer(AlertRecord* record, bool firstButton) {
    const AlertCallback callback = record->callback;
    void* data = record->data;
    JWindowDestroy(record->window);
    if (callback != nullptr) {
        callback(data, firstButton);
    }
}

void ButtonPressed(JControl* button) {
    AlertRecord* record = static_cast<AlertRecord*>(button->userData);
    Answer(record, button == record->first);
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
        Answer(record, true);
    } else if (key == kKeyEscape || typed == 27) {
        if (record->second != nullptr) {
            Answer(record, false);
        }
    } else if (typed != 0 && typed == FirstLetter(record->first)) {
        Answer(record, true);
    } else if (typed != 0 && record->second != nullptr && typed == FirstLetter(record->second)) {
        Answer(record, false);
    }
    return true;
}

// The close box answers as Escape would, or with the only button.
bool AlertClose(JWindow* window, const JHandlerEvent&) {
    if (AlertRecord* record = RecordOf(window)) {
        Answer(record, record->second == nullptr);
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
    if (second != nullptr) {
        width = std::max(first->width + second->width + 24, messageWidth + 60);
    } else {
        width = std::max<int>(first->width, messageWidth) + 60;
    }
    const int messageBottom = 4 + message->height;
    const int height = std::max(36, messageBottom) + first->height + 8;
    JWindowResize(record->window, width, height);
    JControlMove(message, (width - 60 - messageWidth) / 2 + 50, 4);
    if (second != nullptr) {
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

struct AskAnswer {
    bool first = false;
};

void RecordAnswer(void* data, bool firstButton) {
    static_cast<AskAnswer*>(data)->first = firstButton;
}

bool Wait(JWindow* alert, bool restricted) {
    AlertRecord* record = RecordOf(alert);
    if (record == nullptr) {
        return false;
    }
    AskAnswer answer;
    record->callback = RecordAnswer;
    record->data = &answer;
    JWindowShow(alert);
    JRunModal(alert, restricted);
    return answer.first;
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
                false);
}

bool JAlertAskPrebuilt(JWindow* alert) {
    return Wait(alert, true);
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
    return index == 0 ? record->first : index == 1 ? record->second : nullptr;
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
