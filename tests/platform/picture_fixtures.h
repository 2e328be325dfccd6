#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/imaging/dib_image.h"

// Where the outside corpora and our own small pictures live.
std::string CorpusDir();
std::string TestDataDir();

std::vector<uint8_t> ReadFileBytes(const std::string& Path);
void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Data);
// Regular files of Folder, sorted by name; empty when the folder is missing.
std::vector<std::string> FilesIn(const std::string& Folder);

// Pixels as red, green, blue bytes, rows top first.
struct TRGBPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> RGB;
};

TRGBPicture ToRGB(const TDIBImage& Image);
// The largest difference of one channel between two pictures of the same size.
int MaxChannelDifference(const TRGBPicture& A, const TRGBPicture& B);
// How many channel values differ by more than Tolerance.
int64_t ChannelsBeyond(const TRGBPicture& A, const TRGBPicture& B, int Tolerance);

// Decodes files with an independent decoder, keyed by path; files it cannot read are
// missing from the result. Transparency is composited onto white when asked. Available
// is false (and Why says why) when the decoder is not on the machine.
struct TReferenceDecoder {
    enum TTool { Pillow, ImageMagick };
    TTool Tool = Pillow;
    bool Available = false;
    std::string Why;
    std::map<std::string, TRGBPicture> Decode(const std::vector<std::string>& Files,
                                              bool OntoWhite = false);
};
// Pillow (Debian's python3-pil), or ImageMagick's convert.
TReferenceDecoder& ReferenceDecoder(TReferenceDecoder::TTool Tool = TReferenceDecoder::Pillow);

// A fresh empty folder for one test's files; removed with its content at exit.
std::string ScratchFolder();
