#pragma once

#include "platform/graphics/graphics_types.h"

// Where a picture of PictureWidth x PictureHeight lands in a frame of FrameWidth x
// FrameHeight: the area inside the borders (percent of the frame), the picture scaled
// into it (keeping its aspect ratio or not, enlarging a smaller picture or not) and
// centred. The rectangle is empty when the borders, the frame or the picture leave no
// room.
TRect PlacePicture(int PictureWidth, int PictureHeight, double FrameWidth, double FrameHeight,
                   float BorderWidth, float BorderHeight, bool KeepAspect, bool FitSmaller);

// The frame's side in pixels: truncated, 0 for a side of zero or less. Raises
// EInvalidGraphic for a side that no bitmap can have.
int FrameSide(double Side);
