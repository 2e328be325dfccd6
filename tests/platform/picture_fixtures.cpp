#include "platform/picture_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

std::string CorpusDir() {
    return VNTRL_CORPUS_DIR;
}
std::string TestDataDir() {
    return VNTRL_TEST_DATA_DIR;
}

std::vector<uint8_t> ReadFileBytes(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Data) {
    std::ofstream out(Path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(Data.data()),
              static_cast<std::streamsize>(Data.size()));
}

std::vector<std::string> FilesIn(const std::string& Folder) {
    std::vector<std::string> files;
    if (!fs::is_directory(Folder)) return files;
    for (const auto& entry : fs::directory_iterator(Folder))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

TRGBPicture ToRGB(const TDIBImage& Image) {
    TRGBPicture picture{Image.Width, Image.Height, {}};
    const std::vector<TRGBQuad> table = PaddedColorTable(Image.ColorTable);
    std::vector<uint8_t> row(static_cast<size_t>(Image.Width) * 4);
    for (int y = 0; y < Image.Height; ++y) {
        ReadRowBGRA(Image.PixelFormat, Image.Row(y), Image.Width, table.data(), row.data());
        for (int x = 0; x < Image.Width; ++x) {
            picture.RGB.push_back(row[4 * x + 2]);
            picture.RGB.push_back(row[4 * x + 1]);
            picture.RGB.push_back(row[4 * x]);
        }
    }
    return picture;
}

int MaxChannelDifference(const TRGBPicture& A, const TRGBPicture& B) {
    int most = 0;
    for (size_t i = 0; i < std::min(A.RGB.size(), B.RGB.size()); ++i)
        most = std::max(most, std::abs(A.RGB[i] - B.RGB[i]));
    return most;
}

int64_t ChannelsBeyond(const TRGBPicture& A, const TRGBPicture& B, int Tolerance) {
    int64_t count = 0;
    for (size_t i = 0; i < std::min(A.RGB.size(), B.RGB.size()); ++i)
        count += std::abs(A.RGB[i] - B.RGB[i]) > Tolerance;
    return count;
}

namespace {

std::string FindPythonWithPillow() {
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
        const std::string probe = std::string(candidate) + " -c 'import PIL' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return candidate;
    }
    return "";
}

// Reads a binary PPM as Pillow writes it.
bool ReadPPM(const std::string& Path, TRGBPicture& Picture) {
    std::FILE* f = std::fopen(Path.c_str(), "rb");
    if (f == nullptr) return false;
    int maxValue = 0;
    const bool header =
        std::fscanf(f, "P6 %d %d %d", &Picture.Width, &Picture.Height, &maxValue) == 3 &&
        std::fgetc(f) != EOF && maxValue == 255;
    Picture.RGB.resize(header ? static_cast<size_t>(Picture.Width) * Picture.Height * 3 : 0);
    const bool ok =
        header && std::fread(Picture.RGB.data(), 1, Picture.RGB.size(), f) == Picture.RGB.size();
    std::fclose(f);
    return ok;
}

const char* ReferenceScript = R"(
import sys
from PIL import Image
white = sys.argv[1] == '1'
files = sys.argv[2:]
for source, target in zip(files[::2], files[1::2]):
    try:
        im = Image.open(source)
        im.load()
        if white:
            im = im.convert('RGBA')
            back = Image.new('RGBA', im.size, (255, 255, 255, 255))
            im = Image.alpha_composite(back, im)
        im.convert('RGB').save(target, 'PPM')
    except Exception:
        pass
)";

} // namespace

std::map<std::string, TRGBPicture> TReferenceDecoder::Decode(const std::vector<std::string>& Files,
                                                             bool OntoWhite) {
    std::map<std::string, TRGBPicture> result;
    if (Tool == ImageMagick) {
        const std::string folder = ScratchFolder();
        for (size_t i = 0; i < Files.size(); ++i) {
            const std::string target = folder + "/" + std::to_string(i) + ".ppm";
            const std::string command = "convert '" + Files[i] + "'" +
                                        (OntoWhite ? " -background white -flatten" : "") +
                                        " -depth 8 'ppm:" + target + "' >/dev/null 2>&1";
            TRGBPicture picture;
            if (std::system(command.c_str()) == 0 && ReadPPM(target, picture))
                result[Files[i]] = std::move(picture);
        }
        return result;
    }
    const std::string python = FindPythonWithPillow();
    if (python.empty()) return result;
    const std::string folder = ScratchFolder();
    const std::string script = folder + "/reference.py";
    std::ofstream(script) << ReferenceScript;
    std::string command = python + " " + script + (OntoWhite ? " 1" : " 0");
    for (size_t i = 0; i < Files.size(); ++i)
        command += " '" + Files[i] + "' '" + folder + "/" + std::to_string(i) + ".ppm'";
    if (std::system(command.c_str()) != 0) return result;
    for (size_t i = 0; i < Files.size(); ++i) {
        TRGBPicture picture;
        if (ReadPPM(folder + "/" + std::to_string(i) + ".ppm", picture))
            result[Files[i]] = std::move(picture);
    }
    return result;
}

TReferenceDecoder& ReferenceDecoder(TReferenceDecoder::TTool Tool) {
    static TReferenceDecoder pillow = [] {
        TReferenceDecoder d;
        d.Available = !FindPythonWithPillow().empty();
        if (!d.Available) d.Why = "no Python with Pillow (Debian's python3-pil) on this machine";
        return d;
    }();
    static TReferenceDecoder magick = [] {
        TReferenceDecoder d;
        d.Tool = TReferenceDecoder::ImageMagick;
        // The real convert answers -version; a stand-in that only serves viewing does not.
        d.Available = std::system("convert -version 2>/dev/null | grep -q ImageMagick") == 0;
        if (!d.Available) d.Why = "no ImageMagick (Debian's imagemagick) on this machine";
        return d;
    }();
    return Tool == TReferenceDecoder::ImageMagick ? magick : pillow;
}

std::string ScratchFolder() {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "vntrl-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        return fs::path(pattern);
    }();
    static struct TCleanup {
        ~TCleanup() {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    } cleanup;
    static int next = 0;
    const fs::path folder = root / std::to_string(next++);
    fs::create_directories(folder);
    return folder.string();
}
