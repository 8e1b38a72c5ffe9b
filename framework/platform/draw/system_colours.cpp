#include "framework/platform/draw/system_colours.h"

#include <array>

namespace {

constexpr std::size_t kCount = static_cast<std::size_t>(JSysColour::Count);

// In the order of JSysColour.
constexpr std::array<std::uint32_t, kCount> kClassic = {
    0xC0C0C0,  // Face
    0xFFFFFF,  // Light3D
    0xDFDFDF,  // Light
    0x808080,  // Shadow
    0x000000,  // DarkShadow
    0x000000,  // ButtonText
    0xFFFFFF,  // Window
    0x000000,  // WindowText
    0x000000,  // WindowFrame
    0x000080,  // ActiveCaption
    0x1084D0,  // ActiveCaptionEnd
    0x808080,  // InactiveCaption
    0xC0C0C0,  // InactiveCaptionEnd
    0xFFFFFF,  // CaptionText
    0xC0C0C0,  // InactiveCaptionText
    0xC0C0C0,  // Menu
    0x000000,  // MenuText
    0x000080,  // Highlight
    0xFFFFFF,  // HighlightText
    0x808080,  // GreyText
    0xC0C0C0,  // ScrollBar
    0x008080,  // Desktop
};

std::array<std::uint32_t, kCount>& Table() {
    static std::array<std::uint32_t, kCount> table = kClassic;
    return table;
}

std::size_t IndexOf(JSysColour which) {
    const auto index = static_cast<std::size_t>(which);
    return index < kCount ? index : 0;
}

}  // namespace

JColour JSystemColour(JSysColour which) {
    return JColourFromRgb(JSystemRgb(which));
}

std::uint32_t JSystemRgb(JSysColour which) {
    return Table()[IndexOf(which)];
}

void JSetSystemColour(JSysColour which, JColour colour) {
    Table()[IndexOf(which)] = JColourToRgb(colour);
}

void JResetSystemColours() {
    Table() = kClassic;
}
