// Checks the compiled string table: the texts the program relies on word for
// word, the fixed-column file-type rows, the out-of-memory text and the
// string-list ranges.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/core/resources.h"

namespace {

struct ExpectedText {
    std::uint16_t id;
    const char* text;
};

// Texts whose exact wording other code depends on (menu encodings, format
// directives, settings keys, alert messages and their button labels).
constexpr ExpectedText kExactTexts[] = {
    // Framework settings.
    {100, "Pindle"},
    {101, "2"},
    {102, "200 204"},
    {103, "0"},
    {2205, "430 250"},

    // Menus: shortcut and mnemonic characters in front of the label.
    {1010, " Apple"},
    {1011, " AAbout Pindle..."},
    {1012, "FFile"},
    {1014, "OOOpen..."},
    {1015, "WWClose Window"},
    {1016, "SSSave"},
    {1017, " ASave as..."},
    {1018, "QQQuit"},
    {1060, "EEdit"},
    {1061, "XCCut"},
    {1062, "CCCopy"},
    {1063, "VPPaste"},
    {1103, "AAnimation"},
    {1104, " AAdd Standard Comment"},
    {1139, " PPreferences..."},
    {1175, "TTTest Compression"},
    {1221, " CRange Controls..."},
    {1239, " SStandardize Comments"},
    {1263, " RRemove All Comments"},
    {1264, " DDeinterlace All Frames"},

    // Document windows.
    {1019, "Size: %d%x%d% (%s%)"},
    {1020, "Starting Comment"},
    {1022, "%d% Frame (%s%)"},
    {1023, "%d% Frames (%s%)"},
    {1024, "Frame "},
    {1035, "%d% colour"},
    {1036, "%d% colours"},
    {1037, "9999"},
    {1038, " (%s%)"},
    {1039, "999:99:99.99"},
    {1040, "Duration: "},
    {1041, "Play once"},
    {1042, "Loop"},
    {1043, "Loop forever"},
    {1044, "time"},
    {1045, "times"},
    {1046, "99999"},
    {1047, "User Input"},
    {1084, "99:99.99"},
    {1085, "Background Colour"},
    {1086, "%x02,2%%x02,2%%x02,2%"},
    {1092, "AAAAAA"},
    {1093, "Ending Comment"},
    {1094, "Comment"},
    {1109, "Interlaced"},
    {1165, "%s% Preview"},
    {1166, "%s% Animation Controls"},
    {1167, "%s% Frame Controls"},

    // Entry messages of the document windows.
    {1048,
     "Sorry, but '%s%' is not an integer. The number of times to loop the animation must be an "
     "integer."},
    {1050, "Sorry, but the animation must loop a positive number of times."},
    {1052, "Sorry, the animation can loop at most 65535 times."},
    {1066, "Sorry, but '%s%' is not an integer. The frame # must be an integer."},
    {1074, "Ok"},
    {1076, "Sorry, but the frame # must be positive."},
    {1077, "Ok"},
    {1078, "Sorry, but since there is only %d% frame, you cannot go to frame #%d%."},
    {1079, "Ok"},
    {1080, "Sorry, but since there is only %d% frames, you cannot go to frame #%d%."},
    {1088,
     "Sorry, but '%s%' is not recognizable as a length of time. A duration must be specified as "
     "'hours:minutes:seconds.hundredths', or an abbreviation thereof."},
    {1090, "Sorry, but the maximum frame duration is 10:55.35."},
    {1095,
     "Sorry, '%s%' is not recognizable as an HTML colour. Colours must be specified as "
     "<red><green><blue>, with each component given as a two character hexadecimal number."},

    // Application events and start-up.
    {1097,
     "\"%s%\" doesn't appear to be a GIF file. Pindle can only open GIF files. Try to convert the "
     "file into a GIF file using an image conversion program."},
    {1098, "Ok"},
    {1100,
     "Sorry, but Pindle does not support printing, so \"%s%\" cannot be printed. Try printing "
     "\"%s%\" with another program."},
    {1101, "Ok"},
    {1152, "1.07"},
    {1194,
     "Warning! Previews will not be accurate as the display is in %d% colour (%d% bit) mode. "
     "Previews will be more accurate if the display is in thousands or millions of colours (15, "
     "16, or 24 bit) mode."},
    {1195, "Ok"},
    {1196, "More Info"},
    {1197,
     "Increasing the number of colours that the display can use will improve previews. The "
     "display's colour mode does not affect GIF processing. Produced GIFs should always be "
     "tested with their intended application."},
    {1198, "Ok"},
    {1200, "Version %s%"},

    // Preferences: dialog texts, settings keys and values, band names.
    {1106, "Shrunk by NAME on DATE, using Pindle vVERSION."},
    {1140, "Preferences"},
    {1141, "GIF Optimization"},
    {1142, "To improve compression, Pindle may:"},
    {1143, "Use local colour tables"},
    {1144, "Omit frame terminators"},
    {1145, "Exclude (0,0) from frame rectangles"},
    {1146, "GIF Comments"},
    {1147, "Standard GIF comment:"},
    {1170, "Yes"},
    {1171, "No"},
    {1172, "Standard GIF comment"},
    {1201, "Use a small rectangle for the first frame"},
    {1202, "Use interframe transparency"},
    {1203, "Pick a transparency index from the"},
    {1204, "band"},
    {1205, "ultralow A"},
    {1206, "ultralow B"},
    {1207, "superlow"},
    {1208, "low"},
    {1209, "medium"},
    {1210, "high"},
    {1211, "ultrahigh"},
    {1241, "Startup"},
    {1242, "When appropriate, show depth warning on startup"},
    {1243, "Show more choices when scaling frame durations"},
    {1265, "Display"},

    // Compatibility chart.
    {1248, "Compatibility..."},
    {1249, "Compatibility"},
    {1250, "Mac"},
    {1251, "Windows"},
    {1252, "Unix"},
    {1253, "OS/2"},
    {1254, "NN   1.2"},
    {1255, "2"},
    {1256, "3"},
    {1257, "4"},
    {1258, "MSIE  2"},
    {1259, "3"},
    {1260, "4"},
    {1261, "Na\u00EFve GIF\n  Utilities"},
    {1262, "Estimated Audience: %f1,3.1,1%%%%"},
    {1268, "More Info..."},
    {1269,
     "The compatibility chart shows common browsers that support\nanimated GIFs. Checked boxes "
     "indicate expected compatibility,\neven for long, complex GIFs.\n\nMaximum compatibility is "
     "achieved by disabling (unchecking) all\n"},
    {1270,
     "of the GIF optimization options. For transparent animations,\nusing higher transparency "
     "bands may improve compatibility with\nthe Macintosh version of NN 3.\n\nCompatibility is "
     "limited by the browsers' limited implementations\nof the GIF standard."},
    {1271, "More Info"},
    {1272, "Ok"},
    {1274, "Ok"},
    {1275, "Checked boxes indicate good compatibility, even with long, complex GIFs."},
    {1277, "Ok"},

    // Out of memory.
    {2201, "Ok"},
    {2202, "More Info"},
    {2203,
     "Pindle cannot operate without enough memory. Memory has run out so Pindle is about to quit. "
     "If this is happening often consider increasing the memory available to Pindle."},
    {2204, "Ok"},
};

TEST(StringTable, HoldsExactTexts) {
    for (const ExpectedText& expected : kExactTexts) {
        const char* text = JResourceText(expected.id);
        ASSERT_NE(text, nullptr) << "no string for id " << expected.id;
        EXPECT_STREQ(text, expected.text) << "id " << expected.id;
    }
}

TEST(StringTable, EveryTextFitsTheListLoader) {
    // The string lists load each text through a 255-byte buffer; texts
    // read directly by id (the console's) have no such limit.
    std::size_t count = 0;
    const JResourceString* table = JResourceTable(&count);
    ASSERT_GT(count, 0u);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_NE(table[i].text, nullptr) << "id " << table[i].id;
        if (table[i].id < 3000) {
            EXPECT_LE(std::strlen(table[i].text), 254u) << "id " << table[i].id;
        }
    }
}

// The file dialogs take a message's caption from the id before its text.
TEST(StringTable, FileDialogMessagesPairCaptionWithText) {
    struct Message {
        const char* caption;
        const char* text;
    };
    const Message messages[] = {
        {"Missing Extension",
         "The file name entered lacks an extension. The appropriate extension (%s%) has been "
         "appended."},
        {"Mismatched Extension",
         "The file name entered has an extension (%s%) which is inappropriate for the selected "
         "file type but is appropriate for another file type. The selected file type has been "
         "changed so it agrees with the extension."},
        {"Mismatched Extension",
         "The file name entered has an extension (%s%) which is inappropriate for the selected "
         "file type. The extension has been changed (to %s%) so it agrees with the file type."},
        {"File Exists", "A file with the name '%s%' already exists. Overwrite this file?"},
        {"Bad Filename",
         "The file name entered ('%s%') cannot be used on this system: a name must not be empty, "
         "and no part of it between slashes may be longer than 255 bytes."},
        {"Non-Existent File", "The file '%s%' does not exist."},
        {"Directory Creation Error", "The directory '%s%' could not be created."},
    };
    for (const Message& message : messages) {
        bool found = false;
        for (std::uint16_t id = 1; id < 14 && !found; id += 2) {
            const char* caption = JResourceText(id);
            const char* text = JResourceText(id + 1);
            found = caption != nullptr && text != nullptr &&
                    std::strcmp(caption, message.caption) == 0 &&
                    std::strcmp(text, message.text) == 0;
        }
        EXPECT_TRUE(found) << "no caption/text pair for \"" << message.text << "\"";
    }
    for (std::uint16_t id = 1; id <= 14; ++id) {
        EXPECT_NE(JResourceText(id), nullptr) << "id " << id;
    }
}

// File-type rows: extension in columns 0-3, dotted pattern in 4-8,
// description from column 9.
TEST(StringTable, FileTypeRowsFollowTheColumnLayout) {
    struct Row {
        std::uint16_t id;
        const char* extension;
        const char* pattern;
        const char* description;  // null: any non-empty description
    };
    const Row rows[] = {
        {200, "txt", ".txt", "Text Files (.TXT)"},
        {201, "prf", ".prf", "Preferences (.PRF)"},
        {202, "gif", ".gif", "GIF Files (.GIF)"},
        {203, "jpg", ".jpg", "JPEG Files (.JPG)"},
        {204, "tmp", ".tmp", "Temporary Files (.TMP)"},
        {205, "pct", ".pct", "PICT Files (.PCT)"},
        {208, "res", ".res", "Resource Files (.RES)"},
        {209, "exe", ".exe", "Executables (.EXE)"},
        {211, "ps", ".ps", "Postscript Files (.PS)"},
        {212, "dta", ".dta", "Data Files (.DTA)"},
        {213, "wmf", ".wmf", "Windows Meta-Files (.WMF)"},
        {216, "", ".*", "All Files (.*)"},
        {217, "bmp", ".bmp", "Windows Bitmap Files (.BMP)"},
        {218, "bat", ".bat", "Batch Files (.BAT)"},
        {219, "rc", ".rc", "Resource Source Files (.RC)"},
        {220, "rgs", ".rgs", nullptr},
        {221, "ris", ".ris", nullptr},
        {222, "rss", ".rss", nullptr},
    };
    for (const Row& row : rows) {
        const char* text = JResourceText(row.id);
        ASSERT_NE(text, nullptr) << "id " << row.id;
        const std::string line = text;
        ASSERT_GT(line.size(), 9u) << "id " << row.id;

        std::string extension = row.extension;
        extension.resize(4, ' ');
        std::string pattern = row.pattern;
        pattern.resize(5, ' ');
        EXPECT_EQ(line.substr(0, 4), extension) << "id " << row.id;
        EXPECT_EQ(line.substr(4, 5), pattern) << "id " << row.id;
        EXPECT_NE(line[9], ' ') << "id " << row.id;
        if (row.description != nullptr) {
            EXPECT_EQ(line.substr(9), row.description) << "id " << row.id;
        }
    }
    EXPECT_STREQ(JResourceText(202), "gif .gif GIF Files (.GIF)");

    for (const int id : {206, 207, 210, 214, 215}) {
        EXPECT_EQ(JResourceText(static_cast<std::uint16_t>(id)), nullptr) << "id " << id;
    }
}

TEST(StringTable, OutOfMemoryTextIsPaddedWithNoBreakSpaces) {
    const char* text = JResourceText(2200);
    ASSERT_NE(text, nullptr);
    const std::string message = text;
    EXPECT_EQ(message.find(' '), std::string::npos);
    EXPECT_NE(message.find("Out\u00A0of\u00A0memory."), std::string::npos);

    std::string expected = "\u00A0\n\u00A0\u00A0Out\u00A0of\u00A0memory.";
    for (int i = 0; i < 14; ++i) {
        expected += "\u00A0";
    }
    EXPECT_EQ(message, expected);
}

// Every application and out-of-memory text must lie inside a range string
// of its family, or the string lists cannot reach it.
TEST(StringTable, RangeStringsCoverTheListTexts) {
    struct Range {
        unsigned first;
        unsigned last;
    };
    auto read_range = [](std::uint16_t id, Range* range) {
        const char* text = JResourceText(id);
        return text != nullptr && std::sscanf(text, "%u %u", &range->first, &range->last) == 2 &&
               range->first <= range->last;
    };

    // Lists 0 to 2 hold the texts of the windows and dialogs, list 3 those of
    // opening and compressing files.
    Range application[4] = {};
    for (std::uint16_t k = 0; k < 4; ++k) {
        ASSERT_TRUE(read_range(128 + k, &application[k])) << "range id " << 128 + k;
        EXPECT_LE(application[k].last, 1000u + 100u * k + 99u);
        EXPECT_EQ(application[k].first, 1000u + 100u * k) << "range id " << 128 + k;
    }
    EXPECT_EQ(JResourceText(132), nullptr);
    Range out_of_memory = {};
    ASSERT_TRUE(read_range(160, &out_of_memory));
    EXPECT_EQ(JResourceText(161), nullptr);

    std::size_t count = 0;
    const JResourceString* table = JResourceTable(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned id = table[i].id;
        if (id >= 1000 && id <= 1399) {
            bool covered = false;
            for (const Range& range : application) {
                covered = covered || (id >= range.first && id <= range.last);
            }
            EXPECT_TRUE(covered) << "id " << id << " lies outside the application ranges";
        } else if (id >= 2200 && id <= 2299) {
            EXPECT_TRUE(id >= out_of_memory.first && id <= out_of_memory.last)
                << "id " << id << " lies outside the out-of-memory range";
        }
    }
    for (std::uint16_t id = 2200; id <= 2205; ++id) {
        EXPECT_NE(JResourceText(id), nullptr) << "id " << id;
    }
}

}  // namespace
