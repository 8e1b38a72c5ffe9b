#include "framework/ui/picture_controls.h"

#include <memory>

#include "framework/ui/control_drawing.h"

namespace {

constexpr int kFirstPictureBitmap = 4000;

struct PictureRelease {
    void operator()(JPicture* picture) const { JReleasePicture(picture); }
};

struct Picture : JKindRecord {
    std::unique_ptr<JPicture, PictureRelease> picture;
    int number = -1;
};

Picture* PictureOf(JControl* control) {
    return JKindDataOf<Picture>(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<Picture>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    const Picture* picture = PictureOf(control);
    *width = picture->picture ? picture->picture->width : 0;
    *height = picture->picture ? picture->picture->height : 0;
}

void Draw(JControl* control) {
    const Picture* picture = PictureOf(control);
    if (!picture->picture) {
        return;
    }
    const JRect source{0, 0, picture->picture->width, picture->picture->height};
    const JRect place{control->left, control->top, control->left + source.right,
                      control->top + source.bottom};
    JCopyPicture(&picture->picture->port, source, place, kCopySource);
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("picture");
    kind.create = Create;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    return kind;
}

}  // namespace

const ControlKind* JPictureKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JPictureSetNumber(JControl* control, int number) {
    Picture* picture = PictureOf(control);
    picture->number = number;
    picture->picture.reset(
        number >= 0 ? JLoadPicture(static_cast<std::uint16_t>(kFirstPictureBitmap + number))
                    : nullptr);
    control->kind->setSize(control, 0, 0);
    JControlRedraw(control);
}

int JPictureNumber(JControl* control) {
    return PictureOf(control)->number;
}
