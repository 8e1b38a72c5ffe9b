#include "app/edit/comments.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "app/optimiser/progress.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"

namespace {

// Application text indexes.
constexpr std::uint16_t kTextVersion = 152;
constexpr std::uint16_t kTextRemovingComments = 370;
constexpr std::uint16_t kTextStandardizingComments = 371;
constexpr std::uint16_t kTextMonths = 372;  // "Jan Feb ... Dec"

// Steps a menu command gives its paced progress beyond one per frame.
constexpr std::uint32_t kCommandExtraSteps = 3;

// Takes over a heap string from the format engine.
std::string TakeText(char* text) {
    std::unique_ptr<char, decltype(&JStrFree)> owned(text, &JStrFree);
    return owned ? std::string(owned.get()) : std::string();
}

// Word n (from 0) of a text of words separated by single blanks.
std::string NthWord(std::string_view words, int n) {
    for (; n > 0; --n) {
        const std::size_t blank = words.find(' ');
        words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
    }
    return std::string(words.substr(0, words.find(' ')));
}

// "Mar 5 1997": no leading zeros.
std::string DateText(const JLocalTime& time) {
    const std::string month =
        NthWord(IJString(kTextMonths), std::clamp<int>(time.month, 1, 12) - 1);
    return TakeText(JFormat("%s% %d% %d%", month.c_str(), static_cast<int>(time.day),
                            static_cast<int>(time.year)));
}

std::uint32_t FrameCount(const GifDocument& document) {
    return static_cast<std::uint32_t>(document.frames.size());
}

bool ClearComment(std::string& comment) {
    if (comment.empty()) {
        return false;
    }
    comment.clear();
    return true;
}

}  // namespace

std::string ExpandMacros(std::string_view text, std::span<const Macro> macros) {
    std::string expanded;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        const auto match = std::find_if(macros.begin(), macros.end(), [rest](const Macro& macro) {
            return !macro.name.empty() && rest.starts_with(macro.name);
        });
        if (match != macros.end()) {
            expanded += match->value;
            at += match->name.size();
        } else {
            expanded += text[at++];
        }
    }
    return expanded;
}

std::string BuildStandardComment(const StandardCommentSource& source) {
    // One reading of the clock, so that DATE and TIME agree.
    const JLocalTime now = source.clock ? source.clock() : JLocalTimeNow();
    const std::string date = DateText(now);
    const std::string time = TakeText(JTimeText(now, false));
    const std::array<Macro, 4> macros{{
        {"DATE", date},
        {"TIME", time},
        {"NAME", source.userName},
        {"VERSION", IJString(kTextVersion)},
    }};
    return ExpandMacros(source.commentTemplate, macros);
}

bool SetStartComment(GifDocument& document, std::string text) {
    if (document.startComment == text) {
        return false;
    }
    document.startComment = std::move(text);
    return true;
}

bool SetEndComment(GifDocument& document, std::string text) {
    if (document.endComment == text) {
        return false;
    }
    document.endComment = std::move(text);
    return true;
}

bool AddStandardComment(GifDocument& document, const StandardCommentSource& source) {
    std::string comment = BuildStandardComment(source);
    if (comment.empty()) {
        return false;
    }
    if (!document.endComment.empty()) {
        comment += "\n\n" + document.endComment;
    }
    return SetEndComment(document, std::move(comment));
}

bool RemoveFrameComments(GifDocument& document, std::int32_t first, std::int32_t last) {
    const std::int32_t count = static_cast<std::int32_t>(FrameCount(document));
    bool changed = false;
    for (std::int32_t index = std::max(first, 0); index <= std::min(last, count - 1); ++index) {
        changed = ClearComment(document.frames[std::size_t(index)]->comment) || changed;
        StepPacedProgress(1);
    }
    return changed;
}

bool RemoveAllComments(GifDocument& document) {
    bool changed =
        RemoveFrameComments(document, 0, static_cast<std::int32_t>(FrameCount(document)) - 1);
    changed = SetStartComment(document, {}) || changed;
    StepPacedProgress(1);
    changed = SetEndComment(document, {}) || changed;
    StepPacedProgress(1);
    return changed;
}

bool StandardizeComments(GifDocument& document, const StandardCommentSource& source) {
    bool changed = RemoveAllComments(document);
    changed = AddStandardComment(document, source) || changed;
    StepPacedProgress(1);
    return changed;
}

bool RemoveAllCommentsCommand(GifDocument& document) {
    BeginPacedProgress(IJString(kTextRemovingComments), FrameCount(document) + kCommandExtraSteps);
    const bool changed = RemoveAllComments(document);
    EndPacedProgress();
    return changed;
}

bool StandardizeCommentsCommand(GifDocument& document, const StandardCommentSource& source) {
    BeginPacedProgress(IJString(kTextStandardizingComments),
                       FrameCount(document) + kCommandExtraSteps);
    const bool changed = StandardizeComments(document, source);
    EndPacedProgress();
    return changed;
}

bool RemoveRangeCommentsCommand(GifDocument& document, std::int32_t first, std::int32_t last) {
    // One step per frame the range really holds.
    const std::int64_t count = FrameCount(document);
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min<std::int64_t>(last, count - 1);
    BeginPacedProgress(IJString(kTextRemovingComments),
                       static_cast<std::uint32_t>(std::max<std::int64_t>(to - from + 1, 0)));
    const bool changed = RemoveFrameComments(document, first, last);
    EndPacedProgress();
    return changed;
}
