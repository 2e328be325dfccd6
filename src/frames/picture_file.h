#pragma once

class TImage;

// The reading half of LoadImage: recognises the picture's kind by its first bytes or its
// extension and leaves the picture in Holder, as LoadImage describes. Reports nothing;
// raises the platform's exception (or std::bad_alloc) when the file cannot be read.
void ReadPictureFile(TImage& Holder, const char* FileName);
