// A document's windows driven as a user would: values typed into the
// animation and frame controls, frames chosen by number, and an edit saved
// and read back with giflib, the independent decoder.
#include "app/shell/document_windows.h"

#include <unistd.h>

#include <filesystem>

#include "app/codec/document.h"
#include "app/edit/durations.h"
#include "app/shell/application.h"
#include "app/shell/preferences.h"
#include "app/shell/startup_window.h"
#include "framework/core/core_startup.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/labels.h"
#include "framework/ui/multi_line_labels.h"
#include "framework/ui/popup_choices.h"
#include "tests/app/corpus/corpus_support.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using namespace corpus;

const fs::path kComments = fs::path(PINDLE_CORPUS_DIR) / "real/pil-multiple_comments.gif";
const fs::path kOneFrame = fs::path(PINDLE_CORPUS_DIR) / "real/pil-comment_after_only_frame.gif";

class DocumentWindows : public FrameworkTest {
protected:
    void SetUp() override {
        JCoreStartup();
        FrameworkTest::SetUp();
        JUseWindowAlerts();
        SetSettingsDirectory((scratch_.path().string() + "/").c_str());
        SetFactoryDefaults();
        BuildApplicationMenus();
        RegisterApplicationEvents();
    }
    void TearDown() override {
        while (!OpenDocuments().empty()) {
            OpenDocuments().back()->changed = false;
            CloseDocument(*OpenDocuments().back());
        }
        SetActiveDocument(nullptr);
        SetSettingsDirectory(nullptr);
        FrameworkTest::TearDown();
    }

    AppDocument* Open(const fs::path& path) {
        if (!fs::exists(path)) {
            return nullptr;
        }
        const fs::path copy = scratch_.path() / path.filename();
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_write,
                        fs::perm_options::add);  // the corpus is read-only
        AppDocument* document = OpenDocument(copy.c_str());
        Settle();
        return document;
    }

    static void ClickControl(const JControl* control) {
        ASSERT_NE(control, nullptr);
        Click(control->owner, control->left + control->width / 2,
              control->top + control->height / 2);
    }

    // Replaces a field's text as a user does: select it all, type, Return.
    // Without an ending key the entry is still open (a comment being typed).
    static void TypeInto(const JControl* control, const char* text,
                         std::uint16_t ending = kKeyReturn) {
        ClickControl(control);
        JHeadlessPressKey('A', kModCtrl);
        JHeadlessTypeText(text);
        if (ending != 0) {
            JHeadlessPressKey(ending);
        }
        Settle();
    }

    static void Choose(JControl* choice, int index) {
        ClickControl(choice);
        JWindow* list = JChoiceListWindow();
        ASSERT_NE(list, nullptr);
        int width = 0;
        int height = 0;
        JUiMeasureText("Ag", &width, &height);
        Click(list, 10, 1 + (index - JChoiceListFirstShown()) * (height + 1) + height / 2);
    }

    // The message of the alert in front, answered with Return; "" when none.
    static std::string AnswerAlert() {
        JWindow* alert = JModalFrameworkWindow();
        if (alert == nullptr) {
            return "";
        }
        std::string text;
        JControl* message = JAlertMessage(alert);
        for (int i = 0; JMultiLineLabelLine(message, i) != nullptr; ++i) {
            text += (i > 0 ? " " : "") + std::string(JMultiLineLabelLine(message, i));
        }
        JHeadlessPressKey(kKeyReturn);
        Settle();
        return text;
    }

    static std::string FieldText(const AppDocument& document, DocumentControlId id) {
        return JEditFieldText(DocumentControl(document, id));
    }

    ScratchDirectory scratch_;
};

#define OPEN_OR_SKIP(document, path)                                      \
    AppDocument* document = Open(path);                                   \
    if (document == nullptr) {                                            \
        GTEST_SKIP() << "the shared corpus is not beside the repository"; \
    }

TEST_F(DocumentWindows, AOneFrameAnimationHasNoFrameRowSliderOrButtons) {
    OPEN_OR_SKIP(document, kOneFrame);
    EXPECT_EQ(document->windows.size(), 3u);
    EXPECT_EQ(DocumentControl(*document, DocumentControlId::FrameNumber), nullptr);
    EXPECT_EQ(DocumentControl(*document, DocumentControlId::FrameSlider), nullptr);
    EXPECT_NE(DocumentControl(*document, DocumentControlId::Duration), nullptr);
}

TEST_F(DocumentWindows, ATypedDurationShowsInTheTotalAtOnceAndTheSameValueChangesNothing) {
    OPEN_OR_SKIP(document, kComments);
    GifDocument& gif = *document->gif;
    const std::uint32_t total = gif.totalDuration;
    const std::uint32_t first = gif.frames[0]->delay;
    TypeInto(DocumentControl(*document, DocumentControlId::Duration), "1:30");
    EXPECT_EQ(gif.frames[0]->delay, 9000u);
    EXPECT_EQ(gif.totalDuration, total - first + 9000);
    EXPECT_EQ(std::string(JLabelText(DocumentControl(*document, DocumentControlId::FramesLine))),
              "5 Frames (" + FormatDuration(gif.totalDuration) + ")");
    EXPECT_EQ(FieldText(*document, DocumentControlId::Duration), "1:30.00");
    EXPECT_TRUE(document->changed);

    document->changed = false;
    TypeInto(DocumentControl(*document, DocumentControlId::Duration), "1:30");
    EXPECT_EQ(gif.totalDuration, total - first + 9000);
    EXPECT_FALSE(document->changed);
}

TEST_F(DocumentWindows, FrameNumbersPastTheEndGoToTheLastFrameAndZeroIsRefused) {
    OPEN_OR_SKIP(document, kComments);
    JControl* number = DocumentControl(*document, DocumentControlId::FrameNumber);
    TypeInto(number, "9");
    EXPECT_EQ(AnswerAlert(), "Sorry, but since there is only 5 frames, you cannot go to frame #9.");
    EXPECT_EQ(document->gif->currentFrame, 4);
    EXPECT_EQ(FieldText(*document, DocumentControlId::FrameNumber), "5");

    for (const char* refused : {"0", "-3"}) {
        TypeInto(number, refused);
        EXPECT_EQ(AnswerAlert(), "Sorry, but the frame # must be positive.");
        EXPECT_EQ(document->gif->currentFrame, 4);
        EXPECT_EQ(FieldText(*document, DocumentControlId::FrameNumber), "5");
    }
    TypeInto(number, "2");
    EXPECT_EQ(document->gif->currentFrame, 1);
    EXPECT_EQ(std::string(JLabelText(DocumentControl(*document, DocumentControlId::StartTime))),
              " (" + FormatDuration(document->gif->frames[0]->delay) + ")");
}

TEST_F(DocumentWindows, EditsMadeInTheWindowsAreInTheSavedFileWithEveryPixelKept) {
    OPEN_OR_SKIP(document, kComments);
    const fs::path saved = scratch_.path() / kComments.filename();
    const fs::path original = scratch_.path() / "original.gif";
    fs::copy_file(saved, original);

    TypeInto(DocumentControl(*document, DocumentControlId::FrameNumber), "3");
    TypeInto(DocumentControl(*document, DocumentControlId::Duration), "2.5");
    Choose(DocumentControl(*document, DocumentControlId::LoopChoice), 1);  // Loop
    Settle();
    TypeInto(DocumentControl(*document, DocumentControlId::LoopCount), "3");
    ASSERT_TRUE(document->changed);
    // Saving takes the comment still being typed.
    TypeInto(DocumentControl(*document, DocumentControlId::EndComment), "Kept by Pindle", 0);

    AlertRecorder alerts(true);  // yes to a file that is not smaller
    ASSERT_TRUE(SaveDocument(*document));
    EXPECT_FALSE(document->changed);

    const ReferenceGif before = ReadReference(original);
    const ReferenceGif after = ReadReference(saved);
    ASSERT_TRUE(after.complete) << after.error;
    ASSERT_EQ(after.gif->ImageCount, before.gif->ImageCount);
    EXPECT_EQ(ControlOf(after.gif.get(), 2).DelayTime, 250);
    for (int i = 0; i < after.gif->ImageCount; ++i) {
        if (i != 2) {
            EXPECT_EQ(ControlOf(after.gif.get(), i).DelayTime,
                      ControlOf(before.gif.get(), i).DelayTime)
                << "frame " << i;
        }
    }
    EXPECT_EQ(after.loopCount, 3);
    std::string endComment;
    for (int i = 0; i < after.gif->ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = after.gif->ExtensionBlocks[i];
        if (block.Function == COMMENT_EXT_FUNC_CODE) {
            endComment.append(reinterpret_cast<const char*>(block.Bytes), block.ByteCount);
        }
    }
    EXPECT_EQ(endComment, "Kept by Pindle");

    const auto extent = ReferenceCompositor::ExtentOf(before.gif.get());
    ReferenceCompositor shownBefore(before.gif.get(), extent.width, extent.height);
    ReferenceCompositor shownAfter(after.gif.get(), extent.width, extent.height);
    for (int i = 0; i < before.gif->ImageCount; ++i) {
        EXPECT_EQ(ScreenDifference(shownAfter.Next(), shownBefore.Next(), extent.width), "")
            << "frame " << i;
    }
}

}  // namespace
