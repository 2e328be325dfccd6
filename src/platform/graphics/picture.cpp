#include "platform/graphics/picture.h"

#include <cctype>
#include <map>

#include "platform/classes/format.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/icon.h"
#include "platform/graphics/jpeg_image.h"
#include "platform/graphics/metafile.h"
#include "platform/graphics/png_image.h"

namespace {

template <class T> std::unique_ptr<TGraphic> Make() {
    return std::make_unique<T>();
}

std::map<std::string, TPicture::TGraphicFactory>& Formats() {
    static std::map<std::string, TPicture::TGraphicFactory> formats = {
        {".bmp", Make<TBitmap>},     {".dib", Make<TBitmap>},    {".jpg", Make<TJPEGImage>},
        {".jpeg", Make<TJPEGImage>}, {".jpe", Make<TJPEGImage>}, {".jfif", Make<TJPEGImage>},
        {".ico", Make<TIcon>},       {".png", Make<TPNGImage>},  {".wmf", Make<TMetafile>},
        {".emf", Make<TMetafile>}};
    return formats;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::string ExtractFileExt(const std::string& FileName) {
    const size_t slash = FileName.find_last_of("/\\");
    const size_t dot = FileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return FileName.substr(dot);
}

TBitmap& TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get())) return *bitmap;
    auto bitmap = std::make_unique<TBitmap>();
    TBitmap& result = *bitmap;
    graphic_ = std::move(bitmap);
    return result;
}

void TPicture::LoadFromFile(const std::string& FileName) {
    const std::string extension = Lower(ExtractFileExt(FileName));
    std::unique_ptr<TGraphic> graphic = CreateGraphicFor(extension);
    if (!graphic)
        throw EInvalidGraphic(Format("Unknown picture file extension (%s)", extension.c_str()));
    graphic->LoadFromFile(FileName);
    graphic_ = std::move(graphic);
}

void TPicture::SaveToFile(const std::string& FileName) {
    if (!graphic_) throw EInvalidGraphic("There is no picture to save");
    graphic_->SaveToFile(FileName);
}

void TPicture::RegisterFileFormat(const std::string& Extension, TGraphicFactory Factory) {
    Formats()[Lower(Extension)] = std::move(Factory);
}

std::unique_ptr<TGraphic> TPicture::CreateGraphicFor(const std::string& Extension) {
    const auto found = Formats().find(Extension);
    return found == Formats().end() ? nullptr : found->second();
}
