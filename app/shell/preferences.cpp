#include "app/shell/preferences.h"

#include <algorithm>
#include <iterator>

#include "framework/core/core_startup.h"
#include "framework/core/file_replace.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/preferences_store.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"

Preferences gPreferences{};

namespace {

// Application text indexes.
constexpr std::uint16_t kTextDefaultTemplate = 106;
constexpr std::uint16_t kKeyUseLocalColourTables = 143;
constexpr std::uint16_t kKeyOmitFrameTerminators = 144;
constexpr std::uint16_t kKeyExcludeOrigin = 145;
constexpr std::uint16_t kTextYes = 170;
constexpr std::uint16_t kTextNo = 171;
constexpr std::uint16_t kKeyCommentTemplate = 172;
constexpr std::uint16_t kKeySmallFirstFrame = 201;
constexpr std::uint16_t kKeyInterframeTransparency = 202;
constexpr std::uint16_t kKeyTransparencyBand = 203;
constexpr std::uint16_t kTextFirstBand = 205;
constexpr std::uint16_t kKeyDepthWarning = 242;
constexpr std::uint16_t kKeyMoreScalingChoices = 243;
constexpr std::uint16_t kKeyDisplay = 265;
constexpr std::uint16_t kKeyMergeUnchanged = 350;
constexpr std::uint16_t kKeyThorough = 351;

constexpr char kSettingsName[] = "Pindle";
constexpr char kDisplayFormat[] = "%ds%,%ds% %ds%x%ds%";
constexpr std::int32_t kMinimumVisible = 50;

struct FlagKey {
    std::uint16_t key;
    bool Preferences::*flag;
};

// The Yes/No settings that come before the band and the template, in file order.
constexpr FlagKey kCompressionFlags[] = {
    {kKeyUseLocalColourTables, &Preferences::useLocalColourTables},
    {kKeyOmitFrameTerminators, &Preferences::omitFrameTerminators},
    {kKeyExcludeOrigin, &Preferences::excludeOrigin},
    {kKeySmallFirstFrame, &Preferences::smallFirstFrameRectangle},
    {kKeyInterframeTransparency, &Preferences::useInterframeTransparency},
};
// The Yes/No settings written after the template.
constexpr FlagKey kWindowFlags[] = {
    {kKeyDepthWarning, &Preferences::showDepthWarning},
    {kKeyMoreScalingChoices, &Preferences::moreScalingChoices},
};
// Yes/No settings added later, written after the display line so that the
// lines older readers know keep their places.
constexpr FlagKey kAddedFlags[] = {
    {kKeyMergeUnchanged, &Preferences::mergeUnchangedFrames},
    {kKeyThorough, &Preferences::thorough},
};

// The stand-in main frame used until the windowed program supplies its own.
DisplayRect gStandInFrame{0, 0, 640, 480};
std::int16_t NoBorder() {
    return 0;
}
DisplayRect StandInContent() {
    return gStandInFrame;
}
void PlaceStandIn(const DisplayRect& content) {
    gStandInFrame = content;
}
constexpr MainFramePlacement kStandInPlacement{NoBorder, NoBorder, StandInContent, PlaceStandIn};

const MainFramePlacement* gPlacement = &kStandInPlacement;
char* gSettingsDirectory = nullptr;
bool gFirstLoad = true;

FileSpec* SettingsLocation() {
    const char* directory = gSettingsDirectory ? gSettingsDirectory : JStartupDirectory();
    return JFileSpecNew(directory, kSettingsName, kFileTypePreferences);
}

const char* YesNo(bool value) {
    return IJString(value ? kTextYes : kTextNo);
}

void ReplaceTemplate(char* text) {
    if (gPreferences.commentTemplate) {
        JStrFree(gPreferences.commentTemplate);
    }
    gPreferences.commentTemplate = text;
}

// What a load gathers beside the flags and the band.
struct LoadState {
    char* comment;
    DisplayRect display;
};

bool ApplyFlag(const FlagKey* begin, const FlagKey* end, const SettingsLine& line) {
    for (const FlagKey* entry = begin; entry != end; ++entry) {
        if (JStrEqual(line.key, IJString(entry->key))) {
            gPreferences.*(entry->flag) = JStrEqual(line.value, IJString(kTextYes));
            return true;
        }
    }
    return false;
}

void ApplyLine(const SettingsLine& line, LoadState* state) {
    if (ApplyFlag(std::begin(kCompressionFlags), std::end(kCompressionFlags), line) ||
        ApplyFlag(std::begin(kWindowFlags), std::end(kWindowFlags), line) ||
        ApplyFlag(std::begin(kAddedFlags), std::end(kAddedFlags), line)) {
        return;
    }
    if (JStrEqual(line.key, IJString(kKeyTransparencyBand))) {
        for (std::uint8_t band = 0; band < kTransparencyBandCount; ++band) {
            if (JStrEqual(line.value, IJString(kTextFirstBand + band))) {
                gPreferences.transparencyBand = band;
                break;
            }
        }
    } else if (JStrEqual(line.key, IJString(kKeyCommentTemplate))) {
        char* joined = JStrConcat(state->comment, line.value);
        JStrFree(state->comment);
        state->comment = joined;
    } else if (JStrEqual(line.key, IJString(kKeyDisplay))) {
        DisplayRect& r = state->display;
        JScan(line.value, kDisplayFormat, &r.left, &r.top, &r.width, &r.height);
    }
}

void ReadSettingsFile(const FileSpec* location, LoadState* state) {
    if (!JFileExists(location)) {
        return;
    }
    JFile* file = JFileOpen(location, JFileMode::Read);
    if (!file) {
        return;
    }
    SettingsLine line;
    while (ReadSettingsLine(file, &line) == SettingsRead::Line) {
        ApplyLine(line, state);
    }
    JFileClose(file);
}

std::int16_t Clamp16(std::int32_t value, std::int32_t low, std::int32_t high) {
    return static_cast<std::int16_t>(std::clamp(value, low, std::max(low, high)));
}

// Keeps at least 50 pixels of the frame on the frame's own area.
DisplayRect KeepVisible(DisplayRect r, const DisplayRect& current) {
    r.width = std::max<std::int16_t>(r.width, kMinimumVisible);
    r.height = std::max<std::int16_t>(r.height, kMinimumVisible);
    r.left = Clamp16(r.left, kMinimumVisible - r.width, current.width - kMinimumVisible);
    r.top = Clamp16(r.top, kMinimumVisible - r.height, current.height - kMinimumVisible);
    return r;
}

bool WriteAllSettings(JFile* file, void*) {
    const Preferences& p = gPreferences;
    for (const FlagKey& entry : kCompressionFlags) {
        if (!WriteSettingsValue(file, IJString(entry.key), YesNo(p.*(entry.flag)))) {
            return false;
        }
    }
    const char* band = IJString(kTextFirstBand + std::min<std::uint8_t>(p.transparencyBand, 6));
    if (!WriteSettingsValue(file, IJString(kKeyTransparencyBand), band) ||
        !WriteSettingsValue(file, IJString(kKeyCommentTemplate),
                            p.commentTemplate ? p.commentTemplate : "")) {
        return false;
    }
    for (const FlagKey& entry : kWindowFlags) {
        if (!WriteSettingsValue(file, IJString(entry.key), YesNo(p.*(entry.flag)))) {
            return false;
        }
    }
    DisplayRect r = gPlacement->content();
    char* display = JFormat(kDisplayFormat, r.left, r.top, r.width, r.height);
    bool written = WriteSettingsValue(file, IJString(kKeyDisplay), display);
    JStrFree(display);
    for (const FlagKey& entry : kAddedFlags) {
        written = written && WriteSettingsValue(file, IJString(entry.key), YesNo(p.*(entry.flag)));
    }
    return written;
}

}  // namespace

void SetFactoryDefaults() {
    gPreferences.useLocalColourTables = false;
    gPreferences.omitFrameTerminators = true;
    gPreferences.excludeOrigin = true;
    gPreferences.smallFirstFrameRectangle = true;
    gPreferences.useInterframeTransparency = true;
    gPreferences.transparencyBand = 0;
    ReplaceTemplate(JStrDup(IJString(kTextDefaultTemplate)));
    gPreferences.showDepthWarning = true;
    gPreferences.moreScalingChoices = false;
    gPreferences.mergeUnchangedFrames = true;
    gPreferences.thorough = false;
    if (gPreferences.userName) {
        JStrFree(gPreferences.userName);
    }
    gPreferences.userName = JStrDup("");
}

CompressionOptions CompressionOptionsFromPreferences() {
    const Preferences& p = gPreferences;
    return CompressionOptions{p.omitFrameTerminators,
                              p.excludeOrigin,
                              p.smallFirstFrameRectangle,
                              p.useInterframeTransparency,
                              static_cast<TransparencyBand>(std::min<std::uint8_t>(
                                  p.transparencyBand, kTransparencyBandCount - 1)),
                              p.mergeUnchangedFrames,
                              p.thorough};
}

void SetMainFramePlacement(const MainFramePlacement* placement) {
    gPlacement = placement ? placement : &kStandInPlacement;
}

void SetSettingsDirectory(const char* directory) {
    if (gSettingsDirectory) {
        JStrFree(gSettingsDirectory);
    }
    gSettingsDirectory = directory ? JStrDup(directory) : nullptr;
    gFirstLoad = true;
}

void LoadSettings() {
    DisplayRect current = gPlacement->content();
    LoadState state{JStrDup(""), DisplayRect{gPlacement->borderLeft(), gPlacement->borderTop(),
                                             current.width, current.height}};
    FileSpec* location = SettingsLocation();
    ReadSettingsFile(location, &state);
    JFileSpecFree(location);

    if (gFirstLoad) {
        gFirstLoad = false;
        gPlacement->place(KeepVisible(state.display, gPlacement->content()));
        if (state.comment[0] != '\0') {
            ReplaceTemplate(state.comment);
            state.comment = nullptr;
        }
    }
    if (state.comment) {
        JStrFree(state.comment);
    }
}

bool SaveSettings() {
    FileSpec* location = SettingsLocation();
    bool saved = JFileReplace(location, WriteAllSettings, nullptr) == JReplaceResult::Replaced;
    JFileSpecFree(location);
    return saved;
}
