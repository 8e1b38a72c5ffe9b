#include "app/optimiser/frame_merging.h"

namespace {

constexpr std::uint32_t kMaxDelay = 0xFFFF;
constexpr std::uint32_t kBrowserMinimumDelay = 10;

// The kept frame's disposal would act at another time: only a frame that
// stays in place may take the time of the next.
bool StaysInPlace(const GifFrame& frame) {
    return frame.disposal != kDisposalRestoreBackground &&
           frame.disposal != kDisposalRestorePrevious;
}

}  // namespace

std::uint32_t BrowserDelay(std::uint32_t delay) {
    return delay <= 1 ? kBrowserMinimumDelay : delay;
}

bool MayMergeInto(const GifFrame& kept, std::uint32_t keptDelay, const GifFrame& unchanged) {
    const std::uint32_t sum = keptDelay + unchanged.delay;
    return unchanged.changesNothing && unchanged.comment.empty() && !unchanged.userInput &&
           StaysInPlace(kept) && sum <= kMaxDelay &&
           BrowserDelay(sum) == BrowserDelay(keptDelay) + BrowserDelay(unchanged.delay);
}

std::vector<StreamFrame> FramesToWrite(const GifDocument& document, bool merge) {
    std::vector<StreamFrame> frames;
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        if (merge && !frames.empty() &&
            MayMergeInto(*frames.back().frame, frames.back().delay, *frame)) {
            frames.back().delay += frame->delay;
        } else {
            frames.push_back({frame.get(), frame->delay});
        }
    }
    return frames;
}
