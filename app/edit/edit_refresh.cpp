#include "app/edit/edit_refresh.h"

namespace {

void RefreshNothing(GifDocument&, ShownValue) {}

ShownValueRefresh gRefresh = RefreshNothing;

}  // namespace

void SetShownValueRefresh(ShownValueRefresh refresh) {
    gRefresh = refresh ? refresh : RefreshNothing;
}

void RefreshShownValue(GifDocument& document, ShownValue value) {
    gRefresh(document, value);
}
