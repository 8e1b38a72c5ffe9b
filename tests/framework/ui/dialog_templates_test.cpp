#include "framework/ui/dialog_templates.h"

#include "tests/framework/ui/ui_fixture.h"

namespace {

bool Overlap(const JRect& a, const JRect& b) {
    return !JRectIntersect(a, b).Empty();
}

class DialogTemplates : public FrameworkTest {};

TEST_F(DialogTemplates, TheClassicFontGivesTheClassicSizes) {
    // MS Sans Serif 8: 6 by 13 pixels for 4 by 8 units.
    const JRect dialog = JDialogUnitsToPixels(JRect{0, 0, 273, 179}, DialogBaseUnits{6, 13});
    EXPECT_EQ(dialog.Width(), 409);
    EXPECT_EQ(dialog.Height(), 290);
    const DialogBaseUnits base = JDialogBaseUnits();
    EXPECT_GE(base.x, 5);
    EXPECT_LE(base.x, 7);
    EXPECT_GE(base.y, 12);
}

TEST_F(DialogTemplates, EveryItemFitsItsDialogAndNoneCoversAnother) {
    const DialogBaseUnits base = JDialogBaseUnits();
    for (const DialogTemplate* dialog :
         {&JOpenDialogTemplate(), &JSaveDialogTemplate(), &JCreateDirectoryTemplate()}) {
        const JRect whole = JDialogUnitsToPixels(JRect{0, 0, dialog->width, dialog->height}, base);
        std::vector<JRect> placed;
        for (const DialogItem& item : dialog->items) {
            const JRect rect = JDialogUnitsToPixels(item.bounds, base);
            EXPECT_FALSE(rect.Empty()) << dialog->caption << " " << item.id << " " << item.text;
            EXPECT_EQ(JRectIntersect(rect, whole), rect)
                << dialog->caption << ": " << item.id << " " << item.text << " reaches out";
            for (const JRect& other : placed) {
                EXPECT_FALSE(Overlap(rect, other))
                    << dialog->caption << ": " << item.id << " " << item.text << " overlaps";
            }
            placed.push_back(rect);
            // A label's text fits its place in the control font.
            if (item.kind == DialogItemKind::Label || item.kind == DialogItemKind::Button ||
                item.kind == DialogItemKind::DefaultButton) {
                std::string shown;
                for (const char* c = item.text; *c != '\0'; ++c) {
                    if (*c != '&') {
                        shown += *c;
                    }
                }
                EXPECT_LE(JControlMeasure(shown).width, rect.Width())
                    << dialog->caption << ": \"" << shown << "\" is clipped";
            }
        }
    }
}

}  // namespace
