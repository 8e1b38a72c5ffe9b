#include "framework/ui/framework_startup.h"

#include "framework/platform/platform.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/colour_buttons.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/custom_buttons.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/menus.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/progress_bars.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/scroll_bars.h"
#include "framework/ui/sliders.h"
#include "framework/ui/spacers.h"
#include "framework/ui/static_texts.h"
#include "framework/ui/timers.h"
#include "framework/ui/windows.h"

namespace {

// The tables are made once; asking for each makes it now.
void MakeControlKinds() {
    JPushButtonKind();
    JEditFieldKind();
    JStaticTextKind();
    JScrollBarKind();
    JLayoutBoxKind();
    JBorderBoxKind();
    JSpacerKind();
    JLabelKind();
    JCheckBoxKind();
    JPopupChoiceKind();
    JColourButtonKind();
    JCustomButtonKind();
    JProgressBarKind();
    JSliderKind();
}

}  // namespace

bool JFrameworkStartup() {
    JDrawingStartup();
    JSelectPenState(JPenStateNew());
    JControlDrawingStartup();
    JRegisterFrameworkClasses();
    if (!JMainFrameCreate()) {
        return false;
    }
    MakeControlKinds();
    JMenusStartup();
    return true;
}

void JFrameworkShutdown() {
    JWindowDestroyAll();
    JTimersClear();
    JMenusShutdown();
    JDestroyAllMenus();
    JDestroyAllWindows();
    JDrawingShutdown();
}
