#pragma once

#include <new>

#include "job/image_to_video_class.h"
#include "platform/classes/exception.h"

// Runs Body and returns its result. A platform exception (or exhausted memory) is
// reported the standard way, the exception window and the message on the console, and
// then the result of OnFailure is returned; OnFailure writes the operation's own text.
template <typename Body, typename OnFailure>
int RunGuarded(IMAGE_TO_VIDEO_CLASS& Job, Body body, OnFailure onFailure) {
    try {
        return body();
    } catch (const Exception& e) {
        Job.ReportException(e);
    } catch (const std::bad_alloc&) {
        Job.ReportException(EOutOfMemory("Out of memory"));
    }
    return onFailure();
}
