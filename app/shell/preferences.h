// The user's preferences: what the compression may do, the transparency band,
// the standard comment template, two start-up and dialog choices and the main
// window's rectangle. They live in one record and are mirrored in the
// settings file "Pindle.prf" in the directory that was current at start-up.
#pragma once

#include <cstdint>

#include "app/optimiser/compression_options.h"

constexpr std::uint8_t kTransparencyBandCount = 7;

struct Preferences {
    bool useLocalColourTables;
    bool omitFrameTerminators;
    bool excludeOrigin;             // Exclude (0,0) from frame rectangles
    bool smallFirstFrameRectangle;  // Use a small rectangle for the first frame
    bool useInterframeTransparency;
    std::uint8_t transparencyBand;  // 0 "ultralow A" to 6 "ultrahigh"
    char* commentTemplate;          // heap string
    bool showDepthWarning;
    bool moreScalingChoices;    // Show more choices when scaling frame durations
    bool mergeUnchangedFrames;  // Merge frames that change nothing
    bool thorough;              // Try harder (slower)
    char* userName;             // heap string: the name the comment macro NAME gives
};

extern Preferences gPreferences;

// Every preference to its factory default; the template becomes a fresh copy.
void SetFactoryDefaults();

// The options a compression run takes from the preferences.
CompressionOptions CompressionOptionsFromPreferences();

// The main frame's content rectangle in screen coordinates.
struct DisplayRect {
    std::int16_t left;
    std::int16_t top;
    std::int16_t width;
    std::int16_t height;
};

// How the settings reach the main frame. The windowed program supplies its
// frame; without one, a frame of 640 x 480 with no borders stands in.
struct MainFramePlacement {
    std::int16_t (*borderLeft)();
    std::int16_t (*borderTop)();
    DisplayRect (*content)();
    void (*place)(const DisplayRect& content);  // outer position and size follow
};
void SetMainFramePlacement(const MainFramePlacement* placement);  // null: the stand-in

// Where the settings file lives: the directory given (ending with "/"), or
// the start-up directory when null. Treats the next load as the first.
void SetSettingsDirectory(const char* directory);

// Reads the settings file into the preferences; the first load of a run also
// places the main frame and may replace the comment template.
void LoadSettings();
// Rewrites the settings file from the preferences; false when it could not be
// written (the old file is then left as it was).
bool SaveSettings();
