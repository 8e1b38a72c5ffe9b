#include "framework/ui/framework_startup.h"

#include "framework/platform/platform.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/scroll_bars.h"
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
    return true;
}

void JFrameworkShutdown() {
    JWindowDestroyAll();
    JTimersClear();
    JDestroyAllMenus();
    JDestroyAllWindows();
    JDrawingShutdown();
}
