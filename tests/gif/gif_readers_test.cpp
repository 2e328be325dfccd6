// Files written by the library are read back by readers that share no code with it:
// Pillow, gifsicle and giflib's giftext. Each test skips when its reader is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

#include "gif/gif_image.h"
#include "gif_test_support.h"

using namespace giftest;
namespace fs = std::filesystem;

namespace {

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        result.output.append(buffer, got);
    result.status = ::pclose(pipe);
    return result;
}

bool Succeeds(const std::string& command) {
    return RunCommand(command + " >/dev/null 2>&1").status == 0;
}

std::string Python() {
    return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

// The colour table a frame's pixels refer to.
const TGIFColorMap& ActiveTable(const TGIFSubImage& frame) {
    return *frame.GetActiveColorMap();
}

Bytes ExpectedRGB(const TGIFSubImage& frame) {
    Bytes rgb;
    const TGIFColorMap& table = ActiveTable(frame);
    for (uint8_t index : frame.IndexData) {
        const TGIFColor& c = table.Entries[index];
        rgb.insert(rgb.end(), {c.Red, c.Green, c.Blue});
    }
    return rgb;
}

Bytes PaddedTable(const TGIFColorMap& table) {
    Bytes bytes(static_cast<size_t>(3 << table.GetBitsPerPixel()), 0);
    for (int i = 0; i < table.GetCount(); ++i) {
        bytes[static_cast<size_t>(i) * 3] = table.Entries[static_cast<size_t>(i)].Red;
        bytes[static_cast<size_t>(i) * 3 + 1] = table.Entries[static_cast<size_t>(i)].Green;
        bytes[static_cast<size_t>(i) * 3 + 2] = table.Entries[static_cast<size_t>(i)].Blue;
    }
    return bytes;
}

void AddGCE(TGIFSubImage& frame, uint16_t delay) {
    auto gce = std::make_unique<TGIFGraphicControlExtension>(&frame);
    gce->SetDelay(delay);
    frame.ExtensionList->Add(std::move(gce));
}

std::unique_ptr<TGIFImage> Animation() {
    auto image = SingleFrameDocument(64, 48, 16, Gradient(64, 48, 16));
    image->GetColorMap()->SortedByUsage = true;
    TGIFSubImage& first = *image->Frames->GetImage(0);
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&first);
    loop->LoopCount = 3;
    first.ExtensionList->Add(std::move(loop));
    AddGCE(first, 7);

    auto interlaced = std::make_unique<TGIFSubImage>(image.get());
    interlaced->DoSetBounds(0, 0, 64, 48);
    interlaced->IndexData = Noise(64, 48, 16, 5);
    interlaced->SetInterlaced(true);
    AddGCE(*interlaced, 12);
    image->Add(std::move(interlaced));

    auto local = std::make_unique<TGIFSubImage>(image.get());
    local->DoSetBounds(0, 0, 64, 48);
    for (int i = 0; i < 5; ++i)
        local->LocalColorMap->Add(
            RGBColor(static_cast<uint8_t>(200 - i * 40), static_cast<uint8_t>(i * 50), 9));
    local->IndexData = Noise(64, 48, 5, 6);
    AddGCE(*local, 3);
    image->Add(std::move(local));
    return image;
}

struct Sample {
    std::string name;
    std::function<std::unique_ptr<TGIFImage>()> make;
};

const std::vector<Sample>& Samples() {
    static const std::vector<Sample> samples{
        {"noise_1920x1080",
         [] { return SingleFrameDocument(1920, 1080, 256, Noise(1920, 1080, 256)); }},
        {"gradient_1920x1080",
         [] { return SingleFrameDocument(1920, 1080, 256, Gradient(1920, 1080, 256)); }},
        {"animation", Animation},
        {"one_pixel", [] { return SingleFrameDocument(1, 1, 2, Bytes{1}); }},
        {"two_colour_noise", [] { return SingleFrameDocument(31, 9, 2, Noise(31, 9, 2)); }},
        {"three_colours", [] { return SingleFrameDocument(3, 7, 3, Noise(3, 7, 3)); }},
        {"129_colours", [] { return SingleFrameDocument(300, 200, 129, Noise(300, 200, 129)); }},
    };
    return samples;
}

class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vntrl_gif_readers_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const Sample& sample, TGIFImage& image) {
        const fs::path path = dir_ / (sample.name + ".gif");
        image.SaveToFile(path.string());
        return path;
    }

    fs::path dir_;
};

} // namespace

TEST_F(ReaderTest, PillowReadsEveryPixelAndTable) {
    if (!Succeeds(Python() + " -c 'import PIL'"))
        GTEST_SKIP() << "Pillow (python3-pil) is not installed";
    for (const Sample& sample : Samples()) {
        SCOPED_TRACE(sample.name);
        auto image = sample.make();
        const fs::path file = Write(sample, *image);
        const fs::path out = dir_ / sample.name;
        fs::create_directories(out);
        const CommandResult run =
            RunCommand(Python() + " " + Quote(fs::path(GIF_TEST_SCRIPTS) / "pillow_dump.py") + " " +
                       Quote(file) + " " + Quote(out) + " 2>&1");
        ASSERT_EQ(run.status, 0) << run.output;

        std::ifstream infoFile(out / "info.txt");
        std::stringstream info;
        info << infoFile.rdbuf();
        const std::string text = info.str();
        const TGIFSubImage& first = *image->Frames->GetImage(0);
        const int frames = image->Frames->GetCount();
        EXPECT_NE(text.find("size " + std::to_string(image->GetWidth()) + " " +
                            std::to_string(image->GetHeight()) + "\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("frames " + std::to_string(frames) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("mode0 P\n"), std::string::npos) << text;

        EXPECT_EQ(ReadFile(out / "indices0.bin"), first.IndexData);
        EXPECT_EQ(ReadFile(out / "palette0.bin"), PaddedTable(ActiveTable(first)));
        for (int n = 0; n < frames; ++n) {
            const TGIFSubImage& frame = *image->Frames->GetImage(n);
            EXPECT_EQ(ReadFile(out / ("rgb" + std::to_string(n) + ".bin")), ExpectedRGB(frame))
                << "frame " << n;
            if (frame.ControlExtension != nullptr) {
                EXPECT_NE(text.find("duration " + std::to_string(n) + " " +
                                    std::to_string(frame.ControlExtension->GetDelay() * 10) + "\n"),
                          std::string::npos)
                    << text;
            }
        }
        if (sample.name == "animation") {
            EXPECT_NE(text.find("loop 3\n"), std::string::npos) << text;
        }
    }
}

TEST_F(ReaderTest, GiftextRawDumpHoldsEveryIndex) {
    if (!Succeeds("command -v giftext")) GTEST_SKIP() << "giftext (giflib-tools) is not installed";
    for (const Sample& sample : Samples()) {
        SCOPED_TRACE(sample.name);
        auto image = sample.make();
        const fs::path file = Write(sample, *image);
        const CommandResult run = RunCommand("giftext -r " + Quote(file) + " 2>/dev/null");
        ASSERT_EQ(run.status, 0);
        // giftext dumps the rows in the order the file stores them.
        Bytes expected;
        for (int n = 0; n < image->Frames->GetCount(); ++n) {
            const TGIFSubImage& frame = *image->Frames->GetImage(n);
            std::vector<int> rows(frame.Height());
            for (int row = 0; row < frame.Height(); ++row)
                rows[static_cast<size_t>(row)] = row;
            if (frame.GetInterlaced()) rows = InterlacedRowOrder(frame.Height());
            for (int row : rows) {
                const auto start = frame.IndexData.begin() + row * frame.Width();
                expected.insert(expected.end(), start, start + frame.Width());
            }
        }
        EXPECT_TRUE(Bytes(run.output.begin(), run.output.end()) == expected);
    }
}

TEST_F(ReaderTest, GifsicleSeesTheStructureAndTables) {
    if (!Succeeds("command -v gifsicle")) GTEST_SKIP() << "gifsicle is not installed";
    for (const Sample& sample : Samples()) {
        SCOPED_TRACE(sample.name);
        auto image = sample.make();
        const fs::path file = Write(sample, *image);
        const CommandResult run =
            RunCommand("gifsicle --info --color-info " + Quote(file) + " 2>&1");
        ASSERT_EQ(run.status, 0) << run.output;
        const std::string& text = run.output;
        EXPECT_EQ(text.find("gifsicle:"), std::string::npos) << text;
        const int frames = image->Frames->GetCount();
        EXPECT_NE(text.find(std::to_string(frames) + (frames == 1 ? " image\n" : " images\n")),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("logical screen " + std::to_string(image->GetWidth()) + "x" +
                            std::to_string(image->GetHeight())),
                  std::string::npos);

        // Tables as gifsicle lists them: the global one first, then each local one.
        std::vector<Bytes> tables;
        std::vector<bool> interlaced;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.find("color table [") != std::string::npos) tables.emplace_back();
            if (line.find("+ image #") != std::string::npos) interlaced.push_back(false);
            if (line.find("interlaced") != std::string::npos && !interlaced.empty())
                interlaced.back() = true;
            if (line.find('|') == std::string::npos || tables.empty()) continue;
            // Entries read "12: #A0B0C0".
            std::istringstream words(line);
            std::string word;
            long index = -1;
            while (words >> word) {
                if (word.size() > 1 && word.back() == ':') {
                    index = std::stol(word.substr(0, word.size() - 1));
                    continue;
                }
                if (word.size() != 7 || word[0] != '#' || index < 0) continue;
                const unsigned long rgb = std::stoul(word.substr(1), nullptr, 16);
                Bytes& table = tables.back();
                const auto at = static_cast<size_t>(index);
                if (table.size() < (at + 1) * 3) table.resize((at + 1) * 3);
                table[at * 3] = static_cast<uint8_t>(rgb >> 16);
                table[at * 3 + 1] = static_cast<uint8_t>(rgb >> 8);
                table[at * 3 + 2] = static_cast<uint8_t>(rgb);
                index = -1;
            }
        }
        std::vector<Bytes> expected{PaddedTable(*image->GetColorMap())};
        for (int n = 0; n < frames; ++n) {
            const TGIFSubImage& frame = *image->Frames->GetImage(n);
            if (frame.LocalColorMap->GetCount() > 0)
                expected.push_back(PaddedTable(*frame.LocalColorMap));
        }
        EXPECT_EQ(tables, expected);
        ASSERT_EQ(interlaced.size(), static_cast<size_t>(frames));
        for (int n = 0; n < frames; ++n)
            EXPECT_EQ(interlaced[static_cast<size_t>(n)],
                      image->Frames->GetImage(n)->GetInterlaced())
                << n;
        if (sample.name == "animation") {
            EXPECT_NE(text.find("loop count 3"), std::string::npos) << text;
        }
    }
}
