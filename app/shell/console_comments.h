// The console's comment options: the same comment edits the Animation menu
// makes, asked for on the command line and made to each file after it is
// read and before it is compressed.
#pragma once

#include <optional>
#include <string>

#include "app/codec/document.h"
#include "app/edit/comments.h"

// The comment edits of one command line, made in this order: remove every
// comment, set the start comment, set the end comment, add the standard
// comment in front of the end comment.
struct CommentEdits {
    bool removeAll = false;                   // --remove-comments
    std::optional<std::string> startComment;  // --comment-start TEXT
    std::optional<std::string> endComment;    // --comment-end TEXT
    bool addStandard = false;                 // --standard-comment
};

enum class CommentOption {
    NotOne,   // argv[i] is not a comment option
    Taken,    // taken into the edits
    Refused,  // a comment option with a missing or unwanted value; already told on stderr
};

// Takes argv[i] when it is a comment option; a separate TEXT is taken too,
// advancing `i` past it ("--comment-start=TEXT" works as well).
CommentOption ParseCommentOption(int argc, char** argv, int& i, CommentEdits& edits);

// Makes the edits; true when the document changed.
bool ApplyCommentEdits(GifDocument& document, const CommentEdits& edits,
                       const StandardCommentSource& source);

// The --help lines of the comment options.
const char* CommentOptionsHelp();
