#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/codec/gif_reader.h"
#include "app/codec/output_stream.h"
#include "app/optimiser/compress.h"
#include "app/optimiser/size_text.h"
#include "framework/core/files.h"
#include "framework/core/memory.h"
#include "framework/ui/alerts.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

struct Alert {
    AlertKind kind;
    std::string message;
};
std::vector<Alert> gAlerts;
bool gAnswer = false;

bool RecordAsk(AlertKind kind, const char* message, const char*, const char*) {
    gAlerts.push_back({kind, message});
    return gAnswer;
}
void RecordTell(AlertKind kind, const char* message, const char*, const char*, AlertCallback,
                void*) {
    gAlerts.push_back({kind, message});
}
void Quiet() {}
constexpr AlertDriver kRecorder{RecordAsk, RecordTell, Quiet};

bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class CompressTest : public testing::Test {
protected:
    void SetUp() override {
        gAlerts.clear();
        gAnswer = false;
        JSetAlertDriver(&kRecorder);
        InitOutput();
        JTempMark();
        std::filesystem::copy_file(PINDLE_SOURCE_DIR "/samples/bouncing-ball.gif",
                                   dir_.File("ball.gif"));
        original_ = dir_.Read("ball.gif");
        spec_ = JFileSpecFromPath(dir_.File("ball.gif").c_str());
        JFile* file = JFileOpen(spec_, JFileMode::Read);
        document_ = OpenGifDocument(spec_, file);
        JFileClose(file);
        ASSERT_NE(document_, nullptr);
        gAlerts.clear();
    }
    void TearDown() override {
        document_.reset();
        JFileSpecFree(spec_);
        JSetAlertDriver(nullptr);
        JTempRelease();
    }

    bool Compress(bool save) { return CompressDocument(*document_, spec_, save, options_); }

    TestDirectory dir_;
    std::string original_;
    FileSpec* spec_ = nullptr;
    std::unique_ptr<GifDocument> document_;
    CompressionOptions options_;
};

TEST_F(CompressTest, TestModeReportsTheSavingAndWritesNothing) {
    EXPECT_FALSE(Compress(false));
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_EQ(gAlerts[0].kind, AlertKind::Information);
    EXPECT_TRUE(StartsWith(gAlerts[0].message, "\"ball.gif\" is now "));
    EXPECT_NE(gAlerts[0].message.find(" bytes instead of 31,852 bytes. That's a savings of "),
              std::string::npos);
    EXPECT_TRUE(EndsWith(gAlerts[0].message, "% with absolutely no change in appearance."));
    EXPECT_EQ(dir_.Read("ball.gif"), original_);
    EXPECT_EQ(document_->fileSize, original_.size());
}

TEST_F(CompressTest, SaveReplacesTheFileAndTheNextRunComparesWithIt) {
    EXPECT_TRUE(Compress(true));
    const std::string saved = dir_.Read("ball.gif");
    EXPECT_LT(saved.size(), original_.size());
    EXPECT_EQ(document_->fileSize, saved.size());
    EXPECT_EQ(OutputSize(), saved.size());
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_NE(gAlerts[0].message.find("instead of 31,852 bytes"), std::string::npos);
    // A second run starts from the optimised frames and the saved size.
    gAlerts.clear();
    EXPECT_FALSE(Compress(false));
    ASSERT_EQ(gAlerts.size(), 1u);
    char size[32];
    FormatByteCount(std::uint32_t(saved.size()), size, sizeof size);
    EXPECT_EQ(gAlerts[0].message, "\"ball.gif\" is still " + std::string(size) +
                                      " bytes. Pindle was unable to further compress the file.");
}

TEST_F(CompressTest, LargerResultIsSavedOnlyWhenTheUserAgrees) {
    document_->fileSize = 10;
    EXPECT_FALSE(Compress(true));
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_EQ(gAlerts[0].kind, AlertKind::Caution);
    EXPECT_TRUE(StartsWith(gAlerts[0].message, "Warning! \"ball.gif\" is now "));
    EXPECT_TRUE(EndsWith(gAlerts[0].message,
                         " bytes instead of 10 bytes. Do you wish to save the larger file?"));
    EXPECT_EQ(dir_.Read("ball.gif"), original_);
    EXPECT_EQ(document_->fileSize, 10u);

    gAlerts.clear();
    gAnswer = true;
    EXPECT_TRUE(Compress(true));
    EXPECT_EQ(gAlerts.size(), 1u);  // the question only: no report of a larger result
    EXPECT_EQ(document_->fileSize, dir_.Read("ball.gif").size());
}

TEST_F(CompressTest, FileInAReadOnlyFolderIsSavedInPlaceWhenTheUserMayWriteIt) {
    ASSERT_EQ(chmod(dir_.path().c_str(), 0555), 0);
    // Not the user's to write: refused, with the reason.
    bool refused = RunAsOrdinaryUser([this] {
        bool result = Compress(true);
        return !result && gAlerts.size() == 1 &&
               gAlerts[0].message ==
                   "You are not allowed to change \"ball.gif\", so it was left as it was.";
    });
    EXPECT_EQ(refused, geteuid() == 0);  // only an ordinary user is refused
    EXPECT_EQ(dir_.Read("ball.gif"), original_);
    // The user's to write, in a folder that is not: written in place.
    ASSERT_EQ(chmod(dir_.File("ball.gif").c_str(), 0666), 0);
    EXPECT_TRUE(RunAsOrdinaryUser([this] { return Compress(true); }));
    EXPECT_LT(dir_.Read("ball.gif").size(), original_.size());
}

TEST_F(CompressTest, VanishedFolderIsReportedAndNothingChanges) {
    std::filesystem::path elsewhere = std::filesystem::path(dir_.path()) / "gone";
    std::filesystem::create_directory(elsewhere);
    FileSpec* gone = JFileSpecFromPath((elsewhere / "ball.gif").c_str());
    std::filesystem::remove(elsewhere);
    const std::uint32_t size = document_->fileSize;
    EXPECT_FALSE(CompressDocument(*document_, gone, true, options_));
    ASSERT_FALSE(gAlerts.empty());
    EXPECT_EQ(gAlerts.back().kind, AlertKind::Stop);
    EXPECT_EQ(gAlerts.back().message, "\"ball.gif\" could not be created.\n");
    EXPECT_EQ(document_->fileSize, size);
    JFileSpecFree(gone);
}

TEST_F(CompressTest, FullDiskKeepsTheFileByteForByte) {
    bool reported = RunWithFileSizeLimit(1000, [this] {
        bool result = Compress(true);
        return !result && !gAlerts.empty() &&
               gAlerts.back().message ==
                   "\"ball.gif\" could not be written, so the file on disk was left as it was.";
    });
    EXPECT_TRUE(reported);
    EXPECT_EQ(dir_.Read("ball.gif"), original_);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("ball.gif.tmp")));
}

}  // namespace
