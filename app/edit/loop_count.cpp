#include "app/edit/loop_count.h"

#include "app/edit/edit_refresh.h"
#include "app/edit/entry_text.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts; each message is followed by its button.
constexpr std::uint16_t kTextTime = 44;
constexpr std::uint16_t kTextTimes = 45;
constexpr std::uint16_t kTextNotAnInteger = 48;
constexpr std::uint16_t kTextNotPositive = 50;
constexpr std::uint16_t kTextTooMany = 52;

std::uint16_t MessageText(LoopCountProblem problem) {
    switch (problem) {
        case LoopCountProblem::NotAnInteger:
            return kTextNotAnInteger;
        case LoopCountProblem::NotPositive:
            return kTextNotPositive;
        case LoopCountProblem::TooMany:
        case LoopCountProblem::None:
            break;
    }
    return kTextTooMany;
}

}  // namespace

void SetLoopMode(GifDocument& document, LoopChoice choice) {
    switch (choice) {
        case LoopChoice::PlayOnce:
            document.loops = false;
            break;
        case LoopChoice::Loop:
            document.loops = true;
            if (document.loopCount == 0) {
                document.loopCount = 1;
            }
            break;
        case LoopChoice::LoopForever:
            document.loops = true;
            document.loopCount = 0;
            break;
    }
    RefreshShownValue(document, ShownValue::Loop);
}

LoopChoice ShownLoopChoice(const GifDocument& document) {
    if (!document.loops) {
        return LoopChoice::PlayOnce;
    }
    return document.loopCount == 0 ? LoopChoice::LoopForever : LoopChoice::Loop;
}

bool ShowsLoopCount(const GifDocument& document) {
    return ShownLoopChoice(document) == LoopChoice::Loop;
}

const char* LoopCountLabel(std::uint16_t count) {
    return IJString(count == 1 ? kTextTime : kTextTimes);
}

LoopCountProblem ReadLoopCount(const char* text, std::uint16_t* count) {
    std::int64_t value = 0;
    if (!ReadWholeNumber(text, &value)) {
        return LoopCountProblem::NotAnInteger;
    }
    if (value <= 0) {
        return LoopCountProblem::NotPositive;
    }
    if (value > kMaxLoopCount) {
        *count = kMaxLoopCount;
        return LoopCountProblem::TooMany;
    }
    *count = std::uint16_t(value);
    return LoopCountProblem::None;
}

const char* LoopCountProblemMessage(LoopCountProblem problem, const char* text) {
    if (problem == LoopCountProblem::None) {
        return nullptr;
    }
    return JFormatTemp(IJString(MessageText(problem)), text);
}

void TellLoopCountProblem(LoopCountProblem problem, const char* text) {
    if (problem != LoopCountProblem::None) {
        JBeep();
        JTellSimply(LoopCountProblemMessage(problem, text), IJString(MessageText(problem) + 1));
    }
}

void SetLoopCount(GifDocument& document, std::uint16_t count) {
    document.loops = true;
    document.loopCount = count;
    RefreshShownValue(document, ShownValue::Loop);
}

void EnterLoopCount(GifDocument& document, const char* text) {
    std::uint16_t count = document.loopCount;
    const LoopCountProblem problem = ReadLoopCount(text, &count);
    TellLoopCountProblem(problem, text);
    if (problem == LoopCountProblem::None || problem == LoopCountProblem::TooMany) {
        SetLoopCount(document, count);
    } else {
        // The field shows the old count again.
        RefreshShownValue(document, ShownValue::Loop);
    }
}
