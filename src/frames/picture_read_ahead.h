#pragma once

#include <future>
#include <memory>

class IMAGE_TO_VIDEO_CLASS;
class TImage;

// Loads the pictures of the job's list in order, reading the next one on a second thread
// while the caller works on the current one. Results, reports and the holder's picture
// are those of LoadImage: a picture the second thread could not read is loaded once more
// by LoadImage on the caller's thread, which reports the failure in its own words.
class TPictureReadAhead {
  public:
    explicit TPictureReadAhead(IMAGE_TO_VIDEO_CLASS& Job) : job_(Job) {}
    ~TPictureReadAhead();
    TPictureReadAhead(const TPictureReadAhead&) = delete;
    TPictureReadAhead& operator=(const TPictureReadAhead&) = delete;

    // Job.LoadImage(Holder, Job.ImageList[Index].Path), then starts on picture Index + 1.
    int Load(TImage* Holder, int Index);

  private:
    void Start(int Index);

    IMAGE_TO_VIDEO_CLASS& job_;
    int pending_ = -1;
    std::future<std::unique_ptr<TImage>> next_;
};
