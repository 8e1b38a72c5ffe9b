#include "app/shell/console_comments.h"

#include <cstdio>
#include <string_view>

#include "framework/core/format.h"
#include "framework/core/resources.h"

namespace {

// Console texts, read by resource id.
constexpr std::uint16_t kTextCommentOptions = 3040;
constexpr std::uint16_t kTextNeedsText = 3041;
constexpr std::uint16_t kTextTakesNoValue = 3042;

constexpr std::string_view kRemoveComments = "--remove-comments";
constexpr std::string_view kCommentStart = "--comment-start";
constexpr std::string_view kCommentEnd = "--comment-end";
constexpr std::string_view kStandardComment = "--standard-comment";

// The option `argument` names: the whole argument, or what comes before "=".
bool Names(std::string_view argument, std::string_view option) {
    return argument.starts_with(option) &&
           (argument.size() == option.size() || argument[option.size()] == '=');
}

CommentOption Refuse(std::uint16_t text, std::string_view option) {
    std::fputs(JFormatTemp(JResourceText(text), std::string(option).c_str()), stderr);
    return CommentOption::Refused;
}

// A switch takes no value: "--remove-comments=no" is refused rather than
// read as a yes.
CommentOption TakeSwitch(std::string_view argument, std::string_view option, bool& flag) {
    if (argument.size() != option.size()) {
        return Refuse(kTextTakesNoValue, option);
    }
    flag = true;
    return CommentOption::Taken;
}

// "--option=TEXT" or "--option TEXT"; the text may be empty (no comment)
// and may begin with "-".
CommentOption TakeText(int argc, char** argv, int& i, std::string_view option,
                       std::optional<std::string>& text) {
    const std::string_view argument = argv[i];
    if (argument.size() > option.size()) {
        text = std::string(argument.substr(option.size() + 1));
        return CommentOption::Taken;
    }
    if (i + 1 >= argc) {
        return Refuse(kTextNeedsText, option);
    }
    text = std::string(argv[++i]);
    return CommentOption::Taken;
}

}  // namespace

CommentOption ParseCommentOption(int argc, char** argv, int& i, CommentEdits& edits) {
    const std::string_view argument = argv[i];
    if (Names(argument, kRemoveComments)) {
        return TakeSwitch(argument, kRemoveComments, edits.removeAll);
    }
    if (Names(argument, kStandardComment)) {
        return TakeSwitch(argument, kStandardComment, edits.addStandard);
    }
    if (Names(argument, kCommentStart)) {
        return TakeText(argc, argv, i, kCommentStart, edits.startComment);
    }
    if (Names(argument, kCommentEnd)) {
        return TakeText(argc, argv, i, kCommentEnd, edits.endComment);
    }
    return CommentOption::NotOne;
}

bool ApplyCommentEdits(GifDocument& document, const CommentEdits& edits,
                       const StandardCommentSource& source) {
    bool changed = false;
    if (edits.removeAll) {
        changed = RemoveAllComments(document) || changed;
    }
    if (edits.startComment) {
        changed = SetStartComment(document, *edits.startComment) || changed;
    }
    if (edits.endComment) {
        changed = SetEndComment(document, *edits.endComment) || changed;
    }
    if (edits.addStandard) {
        changed = AddStandardComment(document, source) || changed;
    }
    return changed;
}

const char* CommentOptionsHelp() {
    return JResourceText(kTextCommentOptions);
}
