// The comments a document carries: the start comment, one per frame and the
// end comment. These operations only change the document; each returns
// whether anything changed, so that whoever shows the document knows when to
// refresh its comment displays. Nothing reaches the disk before a save.
//
// The operations that walk frames step the paced progress their caller
// began (none begun: they run without one); the ...Command functions are
// the whole menu commands, progress included.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/codec/document.h"
#include "framework/platform/system/clock.h"

// A macro name and the text it stands for.
struct Macro {
    std::string_view name;
    std::string_view value;
};

// The text with every macro name replaced by its value. At each position the
// first macro in the given order whose name starts there wins; a macro with
// an empty name never matches.
std::string ExpandMacros(std::string_view text, std::span<const Macro> macros);

// What the standard comment is built from: the user's template with the
// macros DATE, TIME, NAME and VERSION, the user's name, and the clock that
// gives DATE and TIME (replaceable for tests).
struct StandardCommentSource {
    std::string_view commentTemplate;
    std::string_view userName;
    JLocalTime (*clock)() = JLocalTimeNow;
};

// The template expanded at the clock's current local time: DATE as "Mar 5
// 1997", TIME as "3:07 PM", NAME as the user's name, VERSION as the
// program's version text.
std::string BuildStandardComment(const StandardCommentSource& source);

// Replace the start or end comment; false when the text was already there.
bool SetStartComment(GifDocument& document, std::string text);
bool SetEndComment(GifDocument& document, std::string text);

// Puts a fresh standard comment in front of the end comment, an empty line
// between them. An empty standard comment changes nothing.
bool AddStandardComment(GifDocument& document, const StandardCommentSource& source);

// Empties the comments of frames first to last (inclusive; indices outside
// the document are left out), stepping the paced progress once per frame.
bool RemoveFrameComments(GifDocument& document, std::int32_t first, std::int32_t last);

// Empties every frame comment, then the start and the end comment: frame
// count + 2 steps of the paced progress.
bool RemoveAllComments(GifDocument& document);

// Removes all comments and adds the standard comment, so that the end
// comment is the standard comment alone: frame count + 3 steps.
bool StandardizeComments(GifDocument& document, const StandardCommentSource& source);

// The menu commands with their paced progress ("Removing Comments",
// "Standardizing Comments"), which shows at once and lasts about a second.
bool RemoveAllCommentsCommand(GifDocument& document);
bool StandardizeCommentsCommand(GifDocument& document, const StandardCommentSource& source);
// The range controls' "Remove Comments" over frames first to last.
bool RemoveRangeCommentsCommand(GifDocument& document, std::int32_t first, std::int32_t last);
