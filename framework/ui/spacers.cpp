#include "framework/ui/spacers.h"

const ControlKind* JSpacerKind() {
    static const ControlKind kind = JControlKindDefaults("spacer");
    return &kind;
}
