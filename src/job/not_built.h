#pragma once

class IMAGE_TO_VIDEO_CLASS;

// Reports that Operation is not available in this build (text, then window) and returns
// the failure code 1. Used by operations whose subsystem is still to come.
int ReportNotBuilt(IMAGE_TO_VIDEO_CLASS& Job, const char* What, const char* Operation);
