#pragma once

#include <cstdint>

#include "platform/avifile/avi_types.h"

// The AVI file interface: files and streams are reference-counted handles. A file is
// completed on disk when the last handle to it (the file's or one of its streams') is
// released.
class TAVIFile;
class TAVIStream;
using PAVIFILE = TAVIFile*;
using PAVISTREAM = TAVIStream*;

void AVIFileInit();
void AVIFileExit();

// Creates the file at Path; Mode must include OF_CREATE. No handler classes exist.
HRESULT AVIFileOpen(PAVIFILE* File, const char* Path, uint32_t Mode, const void* Handler);
HRESULT AVIFileCreateStream(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFO* Info);
// A stream that compresses the frames written to it with the compressor that
// Options->fccHandler names and passes them on to Source. AVIERR_NOCOMPRESSOR when no
// compressor has that code.
HRESULT AVIMakeCompressedStream(PAVISTREAM* Compressed, PAVISTREAM Source,
                                const AVICOMPRESSOPTIONS* Options, const void* Handler);
HRESULT AVIStreamSetFormat(PAVISTREAM Stream, int32_t Position, const void* Format, int32_t Size);
HRESULT AVIStreamWrite(PAVISTREAM Stream, int32_t Start, int32_t Samples, const void* Buffer,
                       int32_t Bytes, uint32_t Flags, int32_t* SamplesWritten,
                       int32_t* BytesWritten);
uint32_t AVIStreamRelease(PAVISTREAM Stream);
uint32_t AVIFileRelease(PAVIFILE File);

// The codec window: lets the user pick a compressor for each video stream and set its
// quality, key-frame interval and data rate, starting from and filling in Options.
// False when the user cancels, or when there is no terminal to ask on.
bool AVISaveOptions(void* Parent, uint32_t Flags, int Streams, PAVISTREAM* StreamList,
                    AVICOMPRESSOPTIONS** Options);
HRESULT AVISaveOptionsFree(int Streams, AVICOMPRESSOPTIONS** Options);

// The largest size the file may reach (AVI 1.0 keeps below 2 GiB); lower limits serve tests.
void AVIFileSetSizeLimit(PAVIFILE File, uint64_t Bytes);
